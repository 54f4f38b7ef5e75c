// Byte searches over whole blocks.
#include "frame/bytes_kernel.h"

#include <cstring>

#include "frame/cpu_kernel.h"
#if VNK_HAVE_SSE2_PATH
#include <emmintrin.h>
#endif

namespace vnk {

namespace {

#if VNK_HAVE_SSE2_PATH
VNK_SSE2 const char* FindByteSse2(const char* p, size_t n, char c) {
  const __m128i needle = _mm_set1_epi8(c);
  size_t i = 0;
  for (; n - i >= 16; i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, needle)));
    if (hits != 0) return p + i + __builtin_ctz(hits);
  }
  for (; i < n; ++i)
    if (p[i] == c) return p + i;
  return nullptr;
}

VNK_SSE2 bool SameBytesSse2(const char* a, const char* b, size_t n) {
  size_t i = 0;
  for (; n - i >= 16; i += 16) {
    __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
    __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(x, y)) != 0xFFFF) return false;
  }
  for (; i < n; ++i)
    if (a[i] != b[i]) return false;
  return true;
}
#endif

}  // namespace

const char* FindByte(const char* p, size_t n, char c) {
#if VNK_HAVE_SSE2_PATH
  if (HasSse2()) return FindByteSse2(p, n, c);
#endif
  return static_cast<const char*>(std::memchr(p, c, n));
}

bool SameBytes(const void* a, const void* b, size_t n) {
#if VNK_HAVE_SSE2_PATH
  // Short texts (a search word) are compared in line; the loop pays off from 16 bytes.
  if (n < 16) {
    const auto* x = static_cast<const unsigned char*>(a);
    const auto* y = static_cast<const unsigned char*>(b);
    for (size_t i = 0; i < n; ++i)
      if (x[i] != y[i]) return false;
    return true;
  }
  if (HasSse2()) return SameBytesSse2(static_cast<const char*>(a), static_cast<const char*>(b), n);
#endif
  return std::memcmp(a, b, n) == 0;
}

}  // namespace vnk
