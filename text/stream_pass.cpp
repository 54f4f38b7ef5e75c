// The block pass shared by the text functions that write a new file.
#include "text/stream_pass.h"

namespace vnk {

UniqueFile OpenNewTarget(const char* source, const char* target) {
  if (!PathFits(target) || SameExistingFile(source, target)) return nullptr;
  return UniqueFile(OpenOutput(target, "w+b"));
}

int32_t FinishOutput(UniqueFile out, const char* name, int32_t result) {
  if (fclose(out.release()) != 0 && result >= 0) result = RC_WRITE_FAILED;
  if (result < 0) DeleteFileA(name);
  return result;
}

}  // namespace vnk
