// Block transforms of the whole-file text functions.
#include "text/transforms_kernel.h"

#include <cstring>

#include "frame/ascii_kernel.h"
#include "frame/bytes_kernel.h"
#include "frame/cpu_kernel.h"
#include "text/count_kernel.h"
#if VNK_HAVE_SSE2_PATH
#include <emmintrin.h>
#endif

namespace vnk {

namespace {

// Position of the next byte equal to c at or after i, or n.
size_t Next(const uint8_t* in, size_t i, size_t n, uint8_t c) {
  if (i >= n) return n;
  const unsigned char* hit = FindByte(in + i, n - i, c);
  return hit ? static_cast<size_t>(hit - in) : n;
}

#if VNK_HAVE_SSE2_PATH
// Moves the letters from first to first + 25 by delta (+32 or -32), 16 bytes at a
// time; returns the bytes done (a multiple of 16), the rest is the caller's.
VNK_SSE2 size_t ShiftLettersSse2(uint8_t* block, size_t n, char first, char delta) {
  const __m128i base = _mm_set1_epi8(first), last = _mm_set1_epi8(25), shift = _mm_set1_epi8(delta);
  size_t i = 0;
  for (; n - i >= 16; i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + i));
    __m128i t = _mm_sub_epi8(v, base);
    __m128i letter = _mm_cmpeq_epi8(_mm_min_epu8(t, last), t);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(block + i), _mm_add_epi8(v, _mm_and_si128(letter, shift)));
  }
  return i;
}
#endif

size_t ShiftLetters(uint8_t* block, size_t n, char first, char delta) {
#if VNK_HAVE_SSE2_PATH
  if (HasSse2()) return ShiftLettersSse2(block, n, first, delta);
#endif
  return 0;
}

}  // namespace

namespace {

// Writes the replacement of a run of blanks; returns the new output position.
size_t EmitRun(uint8_t* out, size_t o, size_t blanks, uint32_t tab) {
  size_t tabs = blanks / tab, rest = blanks % tab;
  std::memset(out + o, '\t', tabs);
  std::memset(out + o + tabs, ' ', rest);
  return o + tabs + rest;
}

#if VNK_HAVE_SSE2_PATH
// Writes count bytes of fill at out + o, as one 16-byte store where 16 bytes fit below
// limit (the bytes past count are rewritten by what follows them).
VNK_SSE2 inline void Fill(uint8_t* out, size_t o, size_t count, __m128i fill, size_t limit) {
  if (count <= 16 && limit - o >= 16)
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o), fill);
  else
    std::memset(out + o, _mm_cvtsi128_si32(fill) & 0xFF, count);
}

// Copies the 16 bytes at in to out; returns the mask of those equal to each byte of c.
VNK_SSE2 inline unsigned CopyAndMatch(const uint8_t* in, uint8_t* out, __m128i c) {
  __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), v);
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, c)));
}

// The first position at or after i that is not a blank, or n.
VNK_SSE2 inline size_t RunEnd(const uint8_t* in, size_t i, size_t n, __m128i blank) {
  for (; n - i >= 16; i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    unsigned other = ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, blank))) & 0xFFFF;
    if (other != 0) return i + static_cast<unsigned>(__builtin_ctz(other));
  }
  while (i < n && in[i] == ' ') ++i;
  return i;
}

// Copies 16 bytes at a time while they hold no two blanks side by side (the byte after
// the 16 counts too), and rewrites each run of two or more. The output never runs ahead
// of the input, so a 16-byte store at the output position stays inside the n bytes the
// caller has. Stops with at most 16 bytes left and never inside a run; returns the input
// position, output in *o_out.
VNK_SSE2 size_t CompressBlanksSse2(const uint8_t* in, size_t n, uint8_t* out, uint32_t tab, size_t* o_out) {
  const __m128i blank = _mm_set1_epi8(' '), tabs = _mm_set1_epi8('\t');
  size_t i = 0, o = 0;
  while (n - i > 16) {
    unsigned m = CopyAndMatch(in + i, out + o, blank);
    unsigned pairs = m & ((m >> 1) | (in[i + 16] == ' ' ? 0x8000u : 0u));
    if (pairs == 0) {
      o += 16;
      i += 16;
      continue;
    }
    unsigned first = static_cast<unsigned>(__builtin_ctz(pairs));
    o += first;
    i += first;
    size_t end = RunEnd(in, i + 2, n, blank);
    size_t run = end - i, whole = run / tab, rest = run % tab;
    Fill(out, o, whole, tabs, n);
    Fill(out, o + whole, rest, blank, n);
    o += whole + rest;
    i = end;
  }
  *o_out = o;
  return i;
}

// Copies 16 bytes at a time and writes each TAB's blanks. Every input byte gives at
// least one output byte, so while 16 input bytes are left the caller's room holds 16
// more output bytes. Stops with fewer than 16 bytes left; returns the input position,
// output in *o_out.
VNK_SSE2 size_t ExpandTabsSse2(const uint8_t* in, size_t n, uint8_t* out, uint32_t tab, size_t* o_out) {
  const __m128i tabs = _mm_set1_epi8('\t'), blank = _mm_set1_epi8(' ');
  size_t i = 0, o = 0;
  while (n - i >= 16) {
    unsigned m = CopyAndMatch(in + i, out + o, tabs);
    if (m == 0) {
      o += 16;
      i += 16;
      continue;
    }
    unsigned at = static_cast<unsigned>(__builtin_ctz(m));
    o += at;
    i += at + 1;
    if (tab >= 16) {
      // Whole stores, the last one ending exactly at the TAB's last blank.
      for (size_t k = 0; k + 16 < tab; k += 16) _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o + k), blank);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o + tab - 16), blank);
    } else if (n - i >= 16) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o), blank);
    } else {
      std::memset(out + o, ' ', tab);
    }
    o += tab;
  }
  *o_out = o;
  return i;
}
#endif

}  // namespace

size_t CompressBlanks(const uint8_t* in, size_t n, uint8_t* out, uint32_t tab) {
  size_t i = 0, o = 0;
#if VNK_HAVE_SSE2_PATH
  if (HasSse2()) i = CompressBlanksSse2(in, n, out, tab, &o);
#endif
  while (i < n) {
    // Every byte goes across as it is, a lone blank included (it stays one blank, as a
    // tab size of 2 or more leaves it); only a run of two or more is rewritten.
    uint8_t c = in[i++];
    out[o++] = c;
    if (c != ' ' || i == n || in[i] != ' ') continue;
    size_t end = i + 1;
    while (end < n && in[end] == ' ') ++end;
    o = EmitRun(out, o - 1, end - i + 1, tab);
    i = end;
  }
  return o;
}

bool ExpansionFits(size_t n, size_t tabs, uint32_t tab) {
  return static_cast<uint64_t>(n) + static_cast<uint64_t>(tab) * tabs <= EXPAND_LIMIT;
}

size_t CountTabs(const uint8_t* in, size_t n) { return CountByte(in, n, '\t'); }

size_t ExpandTabs(const uint8_t* in, size_t n, size_t tabs, uint8_t* out, uint32_t tab) {
  size_t i = 0, o = 0;
#if VNK_HAVE_SSE2_PATH
  if (HasSse2()) i = ExpandTabsSse2(in, n, out, tab, &o);
#endif
  if (i == 0 && tabs == 0) {
    std::memcpy(out, in, n);
    return n;
  }
  while (i < n) {
    size_t at = Next(in, i, n, '\t');
    std::memcpy(out + o, in + i, at - i);
    o += at - i;
    if (at == n) break;
    std::memset(out + o, ' ', tab);
    o += tab;
    i = at + 1;
  }
  return o;
}

// Branch-free so that the compiler can turn the tails into vector code too.
void UpperAscii(uint8_t* block, size_t n) {
  for (size_t i = ShiftLetters(block, n, 'a', -32); i < n; ++i) {
    block[i] = vnk::UpperAscii(block[i]);
  }
}

void LowerAscii(uint8_t* block, size_t n) {
  for (size_t i = ShiftLetters(block, n, 'A', 32); i < n; ++i) {
    block[i] = FoldAscii(block[i]);
  }
}

ByteMap SubstitutionMap(const uint8_t* from, const uint8_t* to, size_t pairs) {
  // Running every byte value through the chain once gives the table; the file's bytes
  // then take one lookup each, however many pairs there are.
  ByteMap map;
  for (int v = 0; v < 256; ++v) {
    uint8_t c = static_cast<uint8_t>(v);
    for (size_t i = 0; i < pairs; ++i)
      if (c == from[i]) c = to[i];
    map.to[v] = c;
  }
  return map;
}

void ApplyMap(const ByteMap& map, uint8_t* block, size_t n) {
  for (size_t i = 0; i < n; ++i) block[i] = map.to[block[i]];
}

}  // namespace vnk
