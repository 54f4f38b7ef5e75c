// The pass shared by the text functions that write a new file.
#include "text/stream_pass.h"

#include "files/identity.h"

namespace vnk {

bool OpenNewTarget(const char* source, const char* target, BlockWriter& out) {
  return FitsCallPath(target) && !SameExistingFile(source, target) &&
         out.OpenTarget(target, OutputMode::kReadWrite, RC_CANT_OPEN_SECOND);
}

}  // namespace vnk
