// The UU line codec.
#include "text/uu_kernel.h"

namespace vnk {

namespace {
inline char Char6(unsigned v) { return static_cast<char>((v & 63) + 32); }
}  // namespace

size_t UuEncodeLine(const uint8_t* data, size_t n, char* out) {
  size_t o = 0;
  out[o++] = Char6(static_cast<unsigned>(n));
  for (size_t i = 0; i < n; i += 3) {
    unsigned a = data[i], b = data[i + 1], c = data[i + 2];
    out[o++] = Char6(a >> 2);
    out[o++] = Char6(((a & 3) << 4) | (b >> 4));
    out[o++] = Char6(((b & 15) << 2) | (c >> 6));
    out[o++] = Char6(c);
  }
  out[o++] = '\n';
  return o;
}

size_t UuDecodeGroup(uint8_t e, uint8_t f, uint8_t g, uint8_t h, size_t due, uint8_t* out) {
  out[0] = static_cast<uint8_t>((e << 2) | (f >> 4));
  if (due < 2) return 1;
  out[1] = static_cast<uint8_t>((f << 4) | (g >> 2));
  if (due < 3) return 2;
  out[2] = static_cast<uint8_t>((g << 6) | h);
  return 3;
}

}  // namespace vnk
