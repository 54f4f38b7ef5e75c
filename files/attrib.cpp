// Attribute routines over the attribute word of the system layer.
#include "files/attrib.h"

#include "frame/host.h"
#include "system/fs.h"

namespace vnk {

int16_t AttributeSet(const char* path, uint32_t mask) {
  return Shield(VB_FALSE, [&] {
    DWORD word = sys::Attributes(path);
    if (word == INVALID_FILE_ATTRIBUTES) return VB_FALSE;
    return VbBool(sys::SetAttributes(path, word | mask));
  });
}

int16_t AttributeClear(const char* path, uint32_t mask) {
  return Shield(VB_FALSE, [&] {
    DWORD word = sys::Attributes(path);
    if (word == INVALID_FILE_ATTRIBUTES) return VB_FALSE;
    return VbBool(sys::SetAttributes(path, word & (mask ^ ATTR_LOW_WORD)));
  });
}

int16_t AttributeTest(const char* path, uint32_t mask) {
  return Shield(VB_FALSE, [&] {
    DWORD word = sys::Attributes(path);
    if (word == INVALID_FILE_ATTRIBUTES) return VB_FALSE;
    return VbBool((word & mask) == mask);
  });
}

}  // namespace vnk
