// Deletion of files and folders.
#include "dirs/kill.h"

#include "frame/host.h"

namespace vnk {

int16_t KillFile(const char* name) {
  // Nothing to delete counts as success.
  if (GetFileAttributesA(name) == INVALID_FILE_ATTRIBUTES) return VB_TRUE;
  if (DeleteFileA(name)) return VB_TRUE;
  return LastErrno();
}

}  // namespace vnk

using namespace vnk;

extern "C" int16_t __stdcall cKillFile(const char* name) { return KillFile(name); }
