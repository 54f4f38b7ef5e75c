// Device names in paths.
#include "paths/device_kernel.h"

#include <cstddef>
#include <cstring>
#include <initializer_list>

#include "frame/ascii_kernel.h"
#include "paths/path_kernel.h"

namespace vnk {

bool NamesDevice(const char* path) {
  if (IsSeparator(path[0]) && IsSeparator(path[1]) && path[2] == '.' && IsSeparator(path[3])) return true;
  // The last component, after any folder and drive.
  const char* name = path;
  for (const char* p = path; *p != '\0'; ++p)
    if (IsSeparator(*p)) name = p + 1;
  if (name == path && name[0] != '\0' && name[1] == ':') name += 2;
  // The platform ignores what follows the first dot or colon, and blanks before them.
  size_t n = std::strcspn(name, ".:");
  while (n > 0 && name[n - 1] == ' ') --n;
  if (n == 3) {
    for (const char* device : {"nul", "con", "aux", "prn"})
      if (SameBytesIgnoringCase(name, device, 3)) return true;
    return false;
  }
  if (n == 4 && name[3] >= '1' && name[3] <= '9') return SameBytesIgnoringCase(name, "com", 3) || SameBytesIgnoringCase(name, "lpt", 3);
  if (n == 6 && SameBytesIgnoringCase(name, "conin$", 6)) return true;
  return n == 7 && SameBytesIgnoringCase(name, "conout$", 7);
}

}  // namespace vnk
