// Byte membership of the filters.
#include "text/filter_kernel.h"

namespace vnk {

ByteSet MakeByteSet(const uint8_t* chars, size_t n) {
  ByteSet set{};
  for (size_t i = 0; i < n; ++i) set.has[chars[i]] = 1;
  return set;
}

size_t KeepBytes(const ByteSet& set, bool members, const uint8_t* in, size_t n, uint8_t* out) {
  // One table lookup per byte and no branch: every byte is stored, and the output
  // position only moves past the kept ones. Reading in[i] before writing out[k] with
  // k <= i makes filtering in place safe.
  const uint8_t flip = members ? 0 : 1;
  size_t k = 0;
  for (size_t i = 0; i < n; ++i) {
    uint8_t c = in[i];
    out[k] = c;
    k += set.has[c] ^ flip;
  }
  return k;
}

}  // namespace vnk
