// Block comparison of the file content comparison.
#include "files/compare_kernel.h"

#include <cstdint>
#include <cstring>

#include "frame/cpu_kernel.h"
#if VNK_HAVE_SSE2_PATH
#include <emmintrin.h>
#endif

namespace vnk {

namespace {

#if VNK_HAVE_SSE2_PATH
// A to Z taken as a to z in all 16 lanes.
VNK_SSE2 inline __m128i Fold16(__m128i v) {
  __m128i t = _mm_sub_epi8(v, _mm_set1_epi8('A'));
  __m128i letter = _mm_cmpeq_epi8(_mm_min_epu8(t, _mm_set1_epi8(25)), t);
  return _mm_add_epi8(v, _mm_and_si128(letter, _mm_set1_epi8(32)));
}

// Compares 16 bytes at a time; answers false at the first pair that differs under the
// rule, or the number of bytes done (a multiple of 16) through *done.
VNK_SSE2 bool MatchSse2(const unsigned char* a, const unsigned char* b, size_t n, bool exact, size_t* done) {
  size_t i = 0;
  for (; n - i >= 16; i += 16) {
    __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
    __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(x, y)) == 0xFFFF) continue;
    if (exact || _mm_movemask_epi8(_mm_cmpeq_epi8(Fold16(x), Fold16(y))) != 0xFFFF) return false;
  }
  *done = i;
  return true;
}
#endif

}  // namespace

bool BlocksMatch(const unsigned char* a, const unsigned char* b, size_t n, bool exact) {
  size_t i = 0;
#if VNK_HAVE_SSE2_PATH
  if (HasSse2() && !MatchSse2(a, b, n, exact, &i)) return false;
#endif
  if (exact) return std::memcmp(a + i, b + i, n - i) == 0;
  // Equal stretches are skipped eight bytes at a time; only where the bytes differ is
  // folding needed at all.
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
