// Counting of the line count and statistics functions.
#include "text/count_kernel.h"

#include <algorithm>
#include <array>

namespace vnk {

namespace {

// 1 for a byte that belongs to a word. The classic white-space class (which this
// library never changes by selecting a locale): TAB, LF, VT, FF, CR and blank.
constexpr std::array<uint8_t, 256> kWordByte = [] {
  std::array<uint8_t, 256> t{};
  for (int c = 0; c < 256; ++c) t[c] = 1;
  for (int c : {0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x20}) t[c] = 0;
  return t;
}();

}  // namespace

size_t CountByte(const uint8_t* block, size_t n, uint8_t c) {
  return static_cast<size_t>(std::count(block, block + n, c));
}

bool IsWordBreak(uint8_t c) { return kWordByte[c] == 0; }

void WordCounter::Feed(const uint8_t* block, size_t n) {
  // A word starts wherever a word byte follows a break (or the carried state says the
  // previous block ended outside a word); counting those starts needs no branch.
  uint8_t prev = in_word_;
  size_t starts = 0, lfs = 0;
  for (size_t i = 0; i < n; ++i) {
    uint8_t c = block[i];
    uint8_t w = kWordByte[c];
    starts += w & (prev ^ 1);
    lfs += (c == '\n');
    prev = w;
  }
  words_ += starts;
  lines_ += lfs;
  in_word_ = prev;
}

}  // namespace vnk
