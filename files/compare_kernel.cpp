// Block comparison of the file content comparison.
#include "files/compare_kernel.h"

#include <cstdint>
#include <cstring>

namespace vnk {

bool BlocksMatch(const unsigned char* a, const unsigned char* b, size_t n, bool exact) {
  if (exact) return std::memcmp(a, b, n) == 0;
  // Equal stretches are skipped eight bytes at a time; only where the bytes differ is
  // folding needed at all.
  size_t i = 0;
  while (i < n) {
    if (n - i >= 8) {
      uint64_t x, y;
      std::memcpy(&x, a + i, 8);
      std::memcpy(&y, b + i, 8);
      if (x == y) {
        i += 8;
        continue;
      }
    }
    size_t end = (n - i >= 8) ? i + 8 : n;
    for (; i < end; ++i)
      if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

}  // namespace vnk
