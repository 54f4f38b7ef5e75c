// The 16-byte paths of the byte kernels against the plain byte rules, on inputs long
// enough to pass through every lane counter and with every byte value.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "files/compare_kernel.h"
#include "frame/bytes_kernel.h"
#include "tests/native/exact_block.h"
#include "text/count_kernel.h"
#include "text/transforms_kernel.h"

namespace vnk {
namespace {

const uint8_t* U(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

TEST(VectorPaths, CountsOverManyLaneRoundsMatchTheByteRule) {
  // More than 255 steps of 16 bytes, so the lane counters are emptied several times.
  std::mt19937 gen(9);
  std::string text(100003, '\0');
  for (char& c : text) c = "ab \r\n\t\v\f\x80\xFF"[gen() % 10];
  size_t crs = 0, lines = 0, words = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    uint8_t c = static_cast<uint8_t>(text[i]);
    crs += c == '\r';
    lines += c == '\n';
    words += !IsWordBreak(c) && (i == 0 || IsWordBreak(static_cast<uint8_t>(text[i - 1])));
  }
  EXPECT_EQ(CountByte(U(text), text.size(), '\r'), crs);
  std::string all_cr(70000, '\r');
  EXPECT_EQ(CountByte(U(all_cr), all_cr.size(), '\r'), all_cr.size());
  for (size_t cut : {size_t{0}, size_t{15}, size_t{16}, size_t{4081}, size_t{65536}}) {
    WordCounter wc;
    wc.Feed(U(text), cut);
    wc.Feed(U(text) + cut, text.size() - cut);
    EXPECT_EQ(wc.words(), words) << cut;
    EXPECT_EQ(wc.lines(), lines) << cut;
  }
}

TEST(VectorPaths, UniformBlocksFillEveryLaneCounter) {
  // The same byte in every lane at every step (a file of blank lines, of one repeated
  // character, of one-letter words): a lane counter that went to 256 would wrap to 0.
  for (size_t n : {size_t{16 * 255}, size_t{16 * 255 + 15}, size_t{16 * 256}, size_t{8192}, size_t{70001}}) {
    ExactBlock lfs(std::string(n, '\n')), words(n);
    for (size_t i = 0; i < n; ++i) words.data()[i] = i % 2 ? ' ' : 'w';
    EXPECT_EQ(CountByte(lfs.data(), n, '\n'), n) << n;
    EXPECT_EQ(CountByte(words.data(), n, 'w'), (n + 1) / 2) << n;
    WordCounter blank_lines, one_letter;
    blank_lines.Feed(lfs.data(), n);
    one_letter.Feed(words.data(), n);
    EXPECT_EQ(blank_lines.lines(), n) << n;
    EXPECT_EQ(blank_lines.words(), 0u) << n;
    EXPECT_EQ(one_letter.words(), (n + 1) / 2) << n;
    EXPECT_EQ(one_letter.lines(), 0u) << n;
  }
}

// FindByte and SameBytes at every length up to 64 and a few long ones, the byte sought
// (or the one difference) at every place, in blocks of exactly that length.
TEST(VectorPaths, ByteSearchesAtEveryLengthAndPlace) {
  std::vector<size_t> lengths;
  for (size_t n = 0; n <= 64; ++n) lengths.push_back(n);
  for (size_t n : {size_t{255}, size_t{256}, size_t{1000}, size_t{4097}}) lengths.push_back(n);
  for (size_t n : lengths) {
    std::string text(n, '\0');
    for (size_t i = 0; i < n; ++i) text[i] = static_cast<char>('a' + i % 7);
    ExactBlock a(text), b(text);
    ASSERT_EQ(FindByte(a.chars(), n, 'z'), nullptr) << n;
    ASSERT_TRUE(SameBytes(a.data(), b.data(), n)) << n;
    for (size_t at = 0; at < n; ++at) {
      const char was = a.chars()[at];
      a.chars()[at] = 'z';
      ASSERT_EQ(FindByte(a.chars(), n, 'z'), a.chars() + at) << n << " " << at;
      ASSERT_FALSE(SameBytes(a.data(), b.data(), n)) << n << " " << at;
      ASSERT_FALSE(SameBytes(b.data(), a.data(), n)) << n << " " << at;
      a.chars()[at] = was;
    }
  }
}

TEST(VectorPaths, EveryBytePairComparesByTheFoldingRule) {
  std::string a(48, 'x'), b(48, 'x');
  for (int x = 0; x < 256; ++x)
    for (int y = 0; y < 256; ++y) {
      a[20] = static_cast<char>(x);
      b[20] = static_cast<char>(y);
      bool same = FoldAscii(static_cast<unsigned char>(x)) == FoldAscii(static_cast<unsigned char>(y));
      ASSERT_EQ(BlocksMatch(U(a), U(b), a.size(), false), same) << x << " " << y;
      ASSERT_EQ(BlocksMatch(U(a), U(b), a.size(), true), x == y) << x << " " << y;
    }
}

}  // namespace
}  // namespace vnk

namespace vnk {
namespace {

TEST(VectorPaths, SparseBlankRunsCompressByTheByteRule) {
  // Long stretches without two blanks side by side (copied 16 bytes at a time) between
  // runs of every length, some of them on a 16-byte boundary.
  std::mt19937 gen(12);
  for (uint32_t tab : {2u, 4u, 8u, 9u}) {
    std::string in;
    while (in.size() < 5000) {
      in.append(gen() % 40, 'x');
      if (gen() % 3 == 0) in += " y";
      in.append(gen() % 20, ' ');
    }
    std::string expected;
    for (size_t i = 0; i < in.size();) {
      size_t run = 0;
      while (i < in.size() && in[i] == ' ') ++run, ++i;
      expected.append(run / tab, '\t').append(run % tab, ' ');
      if (i < in.size()) expected += in[i++];
    }
    std::string out(in.size(), '\0');
    out.resize(CompressBlanks(reinterpret_cast<const uint8_t*>(in.data()), in.size(),
                              reinterpret_cast<uint8_t*>(out.data()), tab));
    EXPECT_EQ(out, expected) << tab;
  }
}

}  // namespace
}  // namespace vnk

#include "text/uu_kernel.h"

namespace vnk {
namespace {

TEST(VectorPaths, UuLineCodecMatchesTheGroupRule) {
  std::mt19937 gen(13);
  for (int round = 0; round < 200; ++round) {
    // Encoding: each group of three bytes becomes four characters of 6 bits plus 32.
    uint8_t data[48];
    for (uint8_t& b : data) b = static_cast<uint8_t>(gen());
    size_t n = round % 2 ? UU_LINE_BYTES : 1 + gen() % 45;  // a whole line takes the 16-byte path
    char text[UU_LINE_CHARS];
    size_t len = UuEncodeLine(data, n, text);
    ASSERT_EQ(len, 2 + 4 * ((n + 2) / 3));
    EXPECT_EQ(text[0], static_cast<char>(n + 32));
    for (size_t g = 0; g < (n + 2) / 3; ++g) {
      unsigned a = data[3 * g], b = data[3 * g + 1], c = data[3 * g + 2];
      const unsigned v[4] = {a >> 2, ((a & 3) << 4) | (b >> 4), ((b & 15) << 2) | (c >> 6), c & 63};
      for (int k = 0; k < 4; ++k) EXPECT_EQ(text[1 + 4 * g + k], static_cast<char>(v[k] + 32)) << g << k;
    }
    // Decoding any characters at all (not only what the encoder writes), due 1 to 63.
    uint8_t chars[4 * 21];
    for (uint8_t& c : chars) c = static_cast<uint8_t>(gen());
    size_t due = 1 + gen() % 63;
    uint8_t line[63] = {}, groups[63] = {};
    ASSERT_EQ(UuDecodeLine(chars, due, line), due);
    size_t o = 0;
    for (size_t g = 0, left = due; left > 0; ++g, left -= left > 3 ? 3 : left)
      o += UuDecodeGroup(UuValue(chars[4 * g]), UuValue(chars[4 * g + 1]), UuValue(chars[4 * g + 2]),
                         UuValue(chars[4 * g + 3]), left, groups + o);
    ASSERT_EQ(o, due);
    EXPECT_EQ(0, std::memcmp(line, groups, due));
  }
}

}  // namespace
}  // namespace vnk
