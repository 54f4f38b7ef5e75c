// Drive root names.
#include "disk/root_kernel.h"

#include <cstring>

namespace vnk {

RootName DriveRoot(const char* drive) {
  RootName root = {};
  size_t len = strnlen(drive, 3);
  std::memcpy(root.text, drive, len);
  if (len == 1) std::memcpy(root.text + 1, ":\\", 2);
  if (len == 2) root.text[2] = '\\';
  return root;
}

}  // namespace vnk
