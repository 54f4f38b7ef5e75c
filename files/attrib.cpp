// Attribute routines over GetFileAttributesA / SetFileAttributesA.
#include "files/attrib.h"

#include "frame/host.h"

namespace vnk {

int16_t AttributeSet(const char* path, uint32_t mask) {
  DWORD word = GetFileAttributesA(path);
  if (word == INVALID_FILE_ATTRIBUTES) return VB_FALSE;
  return VbBool(SetFileAttributesA(path, word | mask));
}

int16_t AttributeClear(const char* path, uint32_t mask) {
  DWORD word = GetFileAttributesA(path);
  if (word == INVALID_FILE_ATTRIBUTES) return VB_FALSE;
  return VbBool(SetFileAttributesA(path, word & (mask ^ ATTR_LOW_WORD)));
}

int16_t AttributeTest(const char* path, uint32_t mask) {
  DWORD word = GetFileAttributesA(path);
  if (word == INVALID_FILE_ATTRIBUTES) return VB_FALSE;
  return VbBool((word & mask) == mask);
}

}  // namespace vnk
