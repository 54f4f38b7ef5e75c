// The runtime's text-mode read over whole blocks.
#include "text/textmode_kernel.h"

#include <cstring>

#include "frame/cpu_kernel.h"
#if VNK_HAVE_SSE2_PATH
#include <emmintrin.h>
#endif

namespace vnk {

namespace {

// Moves on over bytes that are neither CR nor 0x1A, copying them left to p + *o; the
// plain loop. Stops at such a byte or at n.
size_t SkipPlain(char* p, size_t i, size_t n, size_t* o) {
  for (; i < n && p[i] != '\r' && p[i] != '\x1A'; ++i) p[(*o)++] = p[i];
  return i;
}

#if VNK_HAVE_SSE2_PATH
// The same, 16 bytes at a time. A whole stretch of 16 is stored at once: it lands at or
// left of where it was read, so it only covers bytes already taken.
VNK_SSE2 size_t SkipPlainSse2(char* p, size_t i, size_t n, size_t* o) {
  const __m128i cr = _mm_set1_epi8('\r'), ctrl_z = _mm_set1_epi8('\x1A');
  size_t out = *o;
  for (; n - i >= 16; i += 16, out += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    unsigned marks = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, ctrl_z))));
    if (marks != 0) {
      unsigned k = static_cast<unsigned>(__builtin_ctz(marks));
      for (unsigned j = 0; j < k && out != i; ++j) p[out + j] = p[i + j];
      *o = out + k;
      return i + k;
    }
    if (out != i) _mm_storeu_si128(reinterpret_cast<__m128i*>(p + out), v);
  }
  *o = out;
  return SkipPlain(p, i, n, o);
}
#endif

}  // namespace

TextModeStep TextModeInPlace(char* p, size_t n, bool last) {
#if VNK_HAVE_SSE2_PATH
  const bool sse2 = HasSse2();
#else
  const bool sse2 = false;
#endif
  size_t i = 0, o = 0;
  for (;;) {
#if VNK_HAVE_SSE2_PATH
    i = sse2 ? SkipPlainSse2(p, i, n, &o) : SkipPlain(p, i, n, &o);
#else
    i = SkipPlain(p, i, n, &o);
#endif
    if (i == n) return {o, n, false};
    if (p[i] == '\x1A') return {o, i, true};  // the text ends here
    // A CR: CR LF is one LF; a CR before anything else (a 0x1A included) stays a CR.
    if (i + 1 < n) {
      bool pair = p[i + 1] == '\n';
      p[o++] = pair ? '\n' : '\r';
      i += pair ? 2 : 1;
    } else if (last) {
      p[o++] = '\r';  // the file's last byte
      return {o, n, false};
    } else {
      return {o, i, false};  // the next bytes decide
    }
  }
}

}  // namespace vnk
