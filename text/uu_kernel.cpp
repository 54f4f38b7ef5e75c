// The UU line codec.
#include "text/uu_kernel.h"

#include <cstring>

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
}  // namespace

size_t UuEncodeLine(const uint8_t* data, size_t n, char* out) {
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

size_t UuDecodeGroup(uint8_t e, uint8_t f, uint8_t g, uint8_t h, size_t due, uint8_t* out) {
  out[0] = static_cast<uint8_t>((e << 2) | (f >> 4));
  if (due < 2) return 1;
  out[1] = static_cast<uint8_t>((f << 4) | (g >> 2));
  if (due < 3) return 2;
  out[2] = static_cast<uint8_t>((g << 6) | h);
  return 3;
}

size_t UuDecodeLine(const uint8_t* chars, size_t due, uint8_t* out) {
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

}  // namespace vnk
