// Device names in paths.
#include "paths/device_kernel.h"

#include <cstddef>
#include <cstring>
#include <initializer_list>

#include "files/compare_kernel.h"

namespace vnk {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool SameFolded(const char* a, const char* b, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (FoldAscii(static_cast<unsigned char>(a[i])) != FoldAscii(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace

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
      if (SameFolded(name, device, 3)) return true;
    return false;
  }
  if (n == 4 && name[3] >= '1' && name[3] <= '9') return SameFolded(name, "com", 3) || SameFolded(name, "lpt", 3);
  if (n == 6 && SameFolded(name, "conin$", 6)) return true;
  return n == 7 && SameFolded(name, "conout$", 7);
}

}  // namespace vnk
