// Byte membership of the filters.
#include "text/filter_kernel.h"

#include "frame/cpu_kernel.h"
#if VNK_HAVE_SSE2_PATH
#include <emmintrin.h>
#endif

namespace vnk {

ByteSet MakeByteSet(const uint8_t* chars, size_t n) {
  ByteSet set{};
  size_t distinct = 0;
  for (size_t i = 0; i < n; ++i) {
    if (set.has[chars[i]]) continue;
    set.has[chars[i]] = 1;
    if (distinct < ByteSet::kListed) set.list[distinct] = chars[i];
    ++distinct;
  }
  set.count = distinct <= ByteSet::kListed ? static_cast<uint8_t>(distinct) : 0;
  return set;
}

namespace {

size_t KeepBytesScalar(const ByteSet& set, bool members, const uint8_t* in, size_t n, uint8_t* out) {
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

#if VNK_HAVE_SSE2_PATH
// Sixteen bytes at a time for a small set: a stretch with nothing to drop goes across
// whole, a stretch with nothing to keep is passed over, and only a mixed one is taken
// byte by byte. Stores at out + k (k never past the bytes read) keep in-place use safe.
VNK_SSE2 size_t KeepBytesSse2(const ByteSet& set, bool members, const uint8_t* in, size_t n, uint8_t* out) {
  __m128i probe[ByteSet::kListed];
  for (size_t j = 0; j < set.count; ++j) probe[j] = _mm_set1_epi8(static_cast<char>(set.list[j]));
  const int all = 0xFFFF;
  size_t i = 0, k = 0;
  for (; n - i >= 16; i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    __m128i hit = _mm_setzero_si128();
    for (size_t j = 0; j < set.count; ++j) hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, probe[j]));
    int keep = _mm_movemask_epi8(hit);
    if (!members) keep ^= all;
    if (keep == all) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), v);
      k += 16;
    } else if (keep != 0) {
      k += KeepBytesScalar(set, members, in + i, 16, out + k);
    }
  }
  return k + KeepBytesScalar(set, members, in + i, n - i, out + k);
}
#endif

}  // namespace

size_t KeepBytes(const ByteSet& set, bool members, const uint8_t* in, size_t n, uint8_t* out) {
#if VNK_HAVE_SSE2_PATH
  if (set.count > 0 && HasSse2()) return KeepBytesSse2(set, members, in, n, out);
#endif
  return KeepBytesScalar(set, members, in, n, out);
}

}  // namespace vnk
