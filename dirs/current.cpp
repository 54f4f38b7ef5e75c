// Current directory and drive, folder creation, existence.
#include "frame/host.h"

using namespace vnk;

extern "C" int16_t __stdcall cFilePathExists(const char* path) {
  if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) return VB_TRUE;
  return LastErrno();
}
