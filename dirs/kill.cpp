// Deletion of files and folders.
#include "dirs/kill.h"

#include "files/attrib.h"
#include "frame/host.h"

namespace vnk {

int16_t KillFile(const char* name) {
  // Nothing to delete counts as success.
  if (GetFileAttributesA(name) == INVALID_FILE_ATTRIBUTES) return VB_TRUE;
  if (DeleteFileA(name)) return VB_TRUE;
  return LastErrno();
}

int16_t KillFileAll(const char* name) {
  if (GetFileAttributesA(name) == INVALID_FILE_ATTRIBUTES) return VB_TRUE;
  if (AttributeClear(name, ATTR_STRIP_FOR_DELETE) != VB_TRUE) return VB_FALSE;
  if (DeleteFileA(name)) return VB_TRUE;
  return LastErrno();
}

}  // namespace vnk

using namespace vnk;

extern "C" int16_t __stdcall cKillFile(const char* name) { return KillFile(name); }
