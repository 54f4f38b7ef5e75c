// The tree walk's entry rule and sort order.
#include "scan/walk_kernel.h"

#include <cstdlib>

#include "frame/ascii_kernel.h"

namespace vnk {
namespace {

int CompareSlots(const void* a, const void* b) {
  return WalkCompare(static_cast<const char*>(a), static_cast<const char*>(b));
}

}  // namespace

bool IsSelfOrParent(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

int WalkCompare(const char* a, const char* b) {
  const unsigned char* x = reinterpret_cast<const unsigned char*>(a);
  const unsigned char* y = reinterpret_cast<const unsigned char*>(b);
  for (size_t i = 0;; ++i) {
    unsigned char p = FoldAscii(x[i]), q = FoldAscii(y[i]);
    if (p != q) return p < q ? -1 : 1;
    if (p == '\0') break;
  }
  for (size_t i = 0;; ++i) {
    if (x[i] != y[i]) return x[i] < y[i] ? -1 : 1;
    if (x[i] == '\0') return 0;
  }
}

void SortSlots(char* table, size_t count, size_t slot_size) {
  if (count > 1) qsort(table, count, slot_size, CompareSlots);
}

}  // namespace vnk
