// ASCII case-insensitive comparisons.
#include "frame/ascii_kernel.h"

namespace vnk {

namespace {
unsigned char Folded(const char* s, size_t i) { return FoldAscii(static_cast<unsigned char>(s[i])); }
}  // namespace

bool SameBytesIgnoringCase(const char* a, const char* b, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (Folded(a, i) != Folded(b, i)) return false;
  return true;
}

bool SameNameIgnoringCase(const char* a, const char* b) { return CompareIgnoringCase(a, b) == 0; }

int CompareIgnoringCase(const char* a, const char* b) {
  for (size_t i = 0;; ++i) {
    unsigned char p = Folded(a, i), q = Folded(b, i);
    if (p != q) return p < q ? -1 : 1;
    if (p == '\0') return 0;
  }
}

}  // namespace vnk
