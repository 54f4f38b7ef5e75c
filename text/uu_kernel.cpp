// The UU line codec.
#include "text/uu_kernel.h"

#include <algorithm>
#include <cstring>

#include "frame/cpu_kernel.h"
#if VNK_HAVE_SSE2_PATH
#include <emmintrin.h>
#endif

namespace vnk {

namespace {
inline char Char6(unsigned v) { return static_cast<char>((v & 63) + 32); }

// The two characters of every 12-bit value, first character in the low byte: a group
// of three bytes is two lookups.
struct PairTable {
  uint16_t chars[4096];
};
constexpr PairTable kPairs = [] {
  PairTable t{};
  for (unsigned v = 0; v < 4096; ++v)
    t.chars[v] = static_cast<uint16_t>(((v >> 6) + 32) | (((v & 63) + 32) << 8));
  return t;
}();

size_t EncodeLinePlain(const uint8_t* data, size_t n, char* out) {
  size_t o = 0;
  out[o++] = Char6(static_cast<unsigned>(n));
  for (size_t i = 0; i < n; i += 3) {
    uint32_t x = (uint32_t{data[i]} << 16) | (uint32_t{data[i + 1]} << 8) | data[i + 2];
    uint16_t hi = kPairs.chars[x >> 12], lo = kPairs.chars[x & 0xFFF];
    out[o++] = static_cast<char>(hi & 0xFF);
    out[o++] = static_cast<char>(hi >> 8);
    out[o++] = static_cast<char>(lo & 0xFF);
    out[o++] = static_cast<char>(lo >> 8);
  }
  out[o++] = '\n';
  return o;
}

size_t DecodeLinePlain(const uint8_t* chars, size_t due, uint8_t* out) {
  // Whole groups first, four characters read and four bytes stored at once (the fourth
  // is the next group's first and is written again by it), then the last group for the
  // bytes still due (1 to 3). A character's value (ch + 32) & 63 is (ch ^ 32) & 63,
  // which four lanes of a word can take without carries.
  size_t o = 0;
  for (; due - o > 3; chars += 4, o += 3) {
    uint32_t w;
    std::memcpy(&w, chars, 4);
    w = (w ^ 0x20202020u) & 0x3F3F3F3Fu;
    uint32_t x = ((w & 0xFF) << 18) | (((w >> 8) & 0xFF) << 12) | (((w >> 16) & 0xFF) << 6) | (w >> 24);
    uint8_t bytes[4] = {static_cast<uint8_t>(x >> 16), static_cast<uint8_t>(x >> 8), static_cast<uint8_t>(x), 0};
    std::memcpy(out + o, bytes, 4);
  }
  if (o < due)
    o += UuDecodeGroup(UuValue(chars[0]), UuValue(chars[1]), UuValue(chars[2]), UuValue(chars[3]), due - o, out + o);
  return o;
}

#if VNK_HAVE_SSE2_PATH
// Four groups at once, a group in each 32-bit lane. Without a byte shuffle the bytes are
// moved with shifts and masks: lane k takes bytes 3k to 3k + 2 of the 12, and back.
VNK_SSE2 inline __m128i Lanes32(uint32_t v) { return _mm_set1_epi32(static_cast<int>(v)); }
VNK_SSE2 inline __m128i Lanes64(uint64_t v) { return _mm_set1_epi64x(static_cast<long long>(v)); }

// One field of a lane: its bits moved up (by > 0) or down, then kept under mask.
struct BitMove {
  int by;
  uint32_t mask;
};

// Each 32-bit lane of v rebuilt from the listed fields.
template <size_t N>
VNK_SSE2 inline __m128i MoveBits(__m128i v, const BitMove (&fields)[N]) {
  __m128i r = _mm_setzero_si128();
  // Unrolled, every shift and mask is a constant of the instruction.
#pragma GCC unroll 8
  for (const BitMove& f : fields)
    r = _mm_or_si128(r, _mm_and_si128(f.by >= 0 ? _mm_slli_epi32(v, f.by) : _mm_srli_epi32(v, -f.by), Lanes32(f.mask)));
  return r;
}

// Bytes 0 to 11 of v (three to a group) to the 16 characters of the four groups.
VNK_SSE2 inline __m128i EncodeGroups(__m128i v) {
  // Each 64-bit half takes two groups: the first as it stands, the second moved up a byte
  // into the upper lane. Lane: b0 | b1 << 8 | b2 << 16.
  __m128i q = _mm_unpacklo_epi64(v, _mm_srli_si128(v, 6));
  __m128i g = _mm_or_si128(_mm_and_si128(q, Lanes64(0x0000000000FFFFFFull)),
                           _mm_and_si128(_mm_slli_epi64(q, 8), Lanes64(0x00FFFFFF00000000ull)));
  // The four 6-bit values into the lane's four bytes: b0 >> 2; (b0 & 3) << 4 | b1 >> 4;
  // (b1 & 15) << 2 | b2 >> 6; b2 & 63.
  static constexpr BitMove kChars[] = {{-2, 0x3F},     {12, 0x3000},  {-4, 0x0F00},
                                       {10, 0x3C0000}, {-6, 0x30000}, {8, 0x3F000000}};
  return _mm_add_epi8(MoveBits(g, kChars), _mm_set1_epi8(32));
}

// A line of 45 bytes: 15 groups in four steps, the last one taking the line's last 12
// bytes (so nothing past the line is read) and rewriting one group with the same
// characters.
VNK_SSE2 size_t EncodeFullLineSse2(const uint8_t* data, char* out) {
  out[0] = Char6(UU_LINE_BYTES);
  for (size_t g = 0; g < 12; g += 4)
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 1 + 4 * g),
                     EncodeGroups(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 3 * g))));
  __m128i tail = _mm_srli_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + UU_LINE_BYTES - 16)), 4);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 1 + 4 * 11), EncodeGroups(tail));
  out[UU_LINE_CHARS - 1] = '\n';
  return UU_LINE_CHARS;
}

// 16 characters (four groups) to their 12 bytes, stored exactly.
VNK_SSE2 inline void DecodeGroups(const uint8_t* chars, uint8_t* out) {
  __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chars));
  w = _mm_and_si128(_mm_xor_si128(w, _mm_set1_epi8(0x20)), _mm_set1_epi8(0x3F));
  // Lane: values a, b, c, d in its bytes; bytes a << 2 | b >> 4, (b & 15) << 4 | c >> 2,
  // (c & 3) << 6 | d in its low three bytes.
  static constexpr BitMove kBytes[] = {{2, 0xFC},       {-12, 0x03},    {4, 0xF000},
                                       {-10, 0x0F00},   {6, 0xC00000},  {-8, 0x3F0000}};
  __m128i y = MoveBits(w, kBytes);
  // Three bytes of each lane side by side: six in each half, then the upper six moved
  // down next to the lower.
  __m128i q = _mm_or_si128(_mm_and_si128(y, Lanes64(0x0000000000FFFFFFull)),
                           _mm_and_si128(_mm_srli_epi64(y, 8), Lanes64(0x0000FFFFFF000000ull)));
  const __m128i low6 = _mm_set_epi32(0, 0, 0x0000FFFF, -1), next6 = _mm_set_epi32(0, -1, static_cast<int>(0xFFFF0000u), 0);
  __m128i r = _mm_or_si128(_mm_and_si128(q, low6), _mm_and_si128(_mm_srli_si128(q, 2), next6));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out), r);
  uint32_t last = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(r, 8)));
  std::memcpy(out + 8, &last, 4);
}

// The whole groups four at a time (the last step may overlap the one before and write
// its bytes again), then the short last group; reads and writes only the line's own.
VNK_SSE2 size_t DecodeLineSse2(const uint8_t* chars, size_t due, uint8_t* out) {
  const size_t whole = due / 3;
  if (whole < 4) return DecodeLinePlain(chars, due, out);
  size_t g = 0;
  for (; whole - g >= 4; g += 4) DecodeGroups(chars + 4 * g, out + 3 * g);
  if (g < whole) DecodeGroups(chars + 4 * (whole - 4), out + 3 * (whole - 4));
  if (due > 3 * whole) {
    const uint8_t* last = chars + 4 * whole;
    UuDecodeGroup(UuValue(last[0]), UuValue(last[1]), UuValue(last[2]), UuValue(last[3]), due - 3 * whole,
                  out + 3 * whole);
  }
  return due;
}
#endif

size_t EncodeFullLine(const uint8_t* data, char* out, bool sse2) {
#if VNK_HAVE_SSE2_PATH
  if (sse2) return EncodeFullLineSse2(data, out);
#endif
  return EncodeLinePlain(data, UU_LINE_BYTES, out);
}

size_t DecodeLine(const uint8_t* chars, size_t due, uint8_t* out, bool sse2) {
#if VNK_HAVE_SSE2_PATH
  if (sse2) return DecodeLineSse2(chars, due, out);
#endif
  return DecodeLinePlain(chars, due, out);
}

// Characters of a line that starts with the length character c: c, the groups, the end.
size_t LineChars(uint8_t c) { return 2 + 4 * ((UuValue(c) + 2) / 3); }

}  // namespace

size_t UuEncodeLine(const uint8_t* data, size_t n, char* out) {
  if (n == UU_LINE_BYTES) return EncodeFullLine(data, out, HasSse2());
  return EncodeLinePlain(data, n, out);
}

size_t UuDecodeGroup(uint8_t e, uint8_t f, uint8_t g, uint8_t h, size_t due, uint8_t* out) {
  out[0] = static_cast<uint8_t>((e << 2) | (f >> 4));
  if (due < 2) return 1;
  out[1] = static_cast<uint8_t>((f << 4) | (g >> 2));
  if (due < 3) return 2;
  out[2] = static_cast<uint8_t>((g << 6) | h);
  return 3;
}

size_t UuDecodeLine(const uint8_t* chars, size_t due, uint8_t* out) { return DecodeLine(chars, due, out, HasSse2()); }

size_t UuEncoder::Feed(const uint8_t* data, size_t n, char* out) {
  if (n == 0) return 0;
  const bool sse2 = HasSse2();
  size_t o = 0;
  if (held_ > 0) {
    size_t take = std::min(UU_LINE_BYTES - held_, n);
    std::memcpy(line_ + held_, data, take);
    held_ += take;
    data += take;
    n -= take;
    if (held_ < UU_LINE_BYTES) return 0;
    o += EncodeFullLine(line_, out, sse2);
    held_ = 0;
  }
  size_t at = 0;
  for (; n - at >= UU_LINE_BYTES; at += UU_LINE_BYTES) o += EncodeFullLine(data + at, out + o, sse2);
  // The start of the next line, which may be completed by a later block.
  std::memcpy(line_, data + at, n - at);
  held_ = n - at;
  return o;
}

size_t UuEncoder::Finish(char* out) {
  if (held_ == 0) return 0;
  size_t n = held_;
  held_ = 0;
  // The last group's missing bytes are zeros, so the output depends on the input alone
  // (what an earlier line or block left in the buffer never shows).
  std::memset(line_ + n, 0, sizeof line_ - n);
  return EncodeLinePlain(line_, n, out);
}

size_t UuDecoder::Feed(const uint8_t* chars, size_t n, uint8_t* out) {
  if (ended_ || n == 0) return 0;
  const bool sse2 = HasSse2();
  size_t i = 0, o = 0;
  if (held_n_ > 0) {
    const size_t len = LineChars(held_[0]);
    i = std::min(len - held_n_, n);
    std::memcpy(held_ + held_n_, chars, i);
    held_n_ += i;
    if (held_n_ < len) return 0;
    o = DecodeLine(held_ + 1, UuValue(held_[0]), out, sse2);
    held_n_ = 0;
  }
  while (i < n) {
    const size_t due = UuValue(chars[i]);
    if (due == 0) {
      ended_ = true;
      break;
    }
    const size_t len = LineChars(chars[i]);
    if (n - i < len) {
      std::memcpy(held_, chars + i, n - i);
      held_n_ = n - i;
      break;
    }
    o += DecodeLine(chars + i + 1, due, out + o, sse2);
    i += len;
  }
  return o;
}

size_t UuDecoder::Finish(uint8_t* out) {
  if (held_n_ == 0) return 0;
  // '?' is the character of value 31, what a character missing at the end gives.
  std::memset(held_ + held_n_, '?', sizeof held_ - held_n_);
  held_n_ = 0;
  return DecodeLine(held_ + 1, UuValue(held_[0]), out, HasSse2());
}

}  // namespace vnk
