// Counting of the line count and statistics functions.
#include "text/count_kernel.h"

#include <algorithm>
#include <array>

#include "frame/cpu_kernel.h"
#if VNK_HAVE_SSE2_PATH
#include <emmintrin.h>
#endif

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

#if VNK_HAVE_SSE2_PATH
// Byte counters of 16 lanes: each lane may take 255 steps before the sum is taken out.
VNK_SSE2 size_t LaneSum(__m128i counts) {
  __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
  return static_cast<size_t>(_mm_cvtsi128_si32(sums)) + static_cast<size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
}

VNK_SSE2 size_t CountByteSse2(const uint8_t* block, size_t n, uint8_t c) {
  const __m128i needle = _mm_set1_epi8(static_cast<char>(c));
  size_t count = 0, i = 0;
  while (n - i >= 16) {
    size_t steps = std::min<size_t>((n - i) / 16, 255);
    __m128i lanes = _mm_setzero_si128();
    for (size_t k = 0; k < steps; ++k, i += 16) {
      __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + i));
      lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(v, needle));
    }
    count += LaneSum(lanes);
  }
  for (; i < n; ++i) count += block[i] == c;
  return count;
}

// The word count 16 bytes at a time: a lane is a word byte unless it is TAB to CR
// (0x09 to 0x0D) or a blank; a word starts at a word byte whose left neighbour (the
// previous block's last byte for lane 0) is not one. Returns the lanes done (a
// multiple of 16); the state after them is left in *in_word.
VNK_SSE2 size_t FeedSse2(const uint8_t* block, size_t n, uint8_t* in_word, uint64_t* words, uint64_t* lines) {
  const __m128i tab = _mm_set1_epi8(0x09), four = _mm_set1_epi8(4), blank = _mm_set1_epi8(' '),
                lf = _mm_set1_epi8('\n'), ones = _mm_set1_epi8(-1);
  __m128i prev = _mm_slli_si128(_mm_cvtsi32_si128(*in_word ? 0xFF : 0), 15);
  size_t i = 0;
  while (n - i >= 16) {
    size_t steps = std::min<size_t>((n - i) / 16, 255);
    __m128i starts = _mm_setzero_si128(), lfs = _mm_setzero_si128();
    for (size_t k = 0; k < steps; ++k, i += 16) {
      __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + i));
      __m128i t = _mm_sub_epi8(v, tab);
      __m128i space = _mm_or_si128(_mm_cmpeq_epi8(_mm_min_epu8(t, four), t), _mm_cmpeq_epi8(v, blank));
      __m128i word = _mm_xor_si128(space, ones);
      __m128i left = _mm_or_si128(_mm_slli_si128(word, 1), _mm_srli_si128(prev, 15));
      starts = _mm_sub_epi8(starts, _mm_andnot_si128(left, word));
      lfs = _mm_sub_epi8(lfs, _mm_cmpeq_epi8(v, lf));
      prev = word;
    }
    *words += LaneSum(starts);
    *lines += LaneSum(lfs);
  }
  *in_word = static_cast<uint8_t>(_mm_cvtsi128_si32(_mm_srli_si128(prev, 15)) & 1);
  return i;
}
#endif

}  // namespace

size_t CountByte(const uint8_t* block, size_t n, uint8_t c) {
#if VNK_HAVE_SSE2_PATH
  if (HasSse2()) return CountByteSse2(block, n, c);
#endif
  return static_cast<size_t>(std::count(block, block + n, c));
}

bool IsWordBreak(uint8_t c) { return kWordByte[c] == 0; }

void WordCounter::Feed(const uint8_t* block, size_t n) {
  // A word starts wherever a word byte follows a break (or the carried state says the
  // previous block ended outside a word); counting those starts needs no branch.
  size_t i = 0;
#if VNK_HAVE_SSE2_PATH
  if (HasSse2()) i = FeedSse2(block, n, &in_word_, &words_, &lines_);
#endif
  uint8_t prev = in_word_;
  size_t starts = 0, lfs = 0;
  for (; i < n; ++i) {
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
