// Block kernels of the text functions. The fast kernels are checked against a plain
// byte-at-a-time rendering of their rule on random blocks; the exact cases callers rely
// on are checked through the DLL by the Wine tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "tests/native/exact_block.h"
#include "text/count_kernel.h"
#include "text/filter_kernel.h"
#include "text/transforms_kernel.h"
#include "text/uu_kernel.h"

namespace vnk {
namespace {

using Bytes = std::string;
const uint8_t* U(const Bytes& s) { return reinterpret_cast<const uint8_t*>(s.data()); }
uint8_t* U(Bytes& s) { return reinterpret_cast<uint8_t*>(s.data()); }

// Random text from a small alphabet, so that runs, TABs and breaks are common.
Bytes RandomText(size_t n, std::mt19937& gen, const Bytes& alphabet) {
  Bytes s(n, '\0');
  for (char& c : s) c = alphabet[gen() % alphabet.size()];
  return s;
}

TEST(TabKernels, MatchTheByteRule) {
  std::mt19937 gen(1);
  for (uint32_t tab : {2u, 3u, 8u, 33u, 70000u}) {
    for (int round = 0; round < 40; ++round) {
      Bytes in = RandomText(gen() % 3000, gen, round % 2 ? "    a\t" : Bytes("  ab\n\0\xff", 7));
      Bytes compressed, expanded;
      for (size_t i = 0; i < in.size();) {
        if (in[i] != ' ') {
          compressed += in[i++];
          continue;
        }
        size_t run = 0;
        for (; i < in.size() && in[i] == ' '; ++i) ++run;
        compressed.append(run / tab, '\t').append(run % tab, ' ');
      }
      ExactBlock src(in), out(in.size());
      EXPECT_EQ(out.str(CompressBlanks(src.data(), src.size(), out.data(), tab)), compressed) << tab;

      if (tab > 100) continue;
      for (char c : in) c == '\t' ? expanded.append(tab, ' ') : expanded.append(1, c);
      size_t tabs = CountTabs(src.data(), src.size());
      ExactBlock wide(expanded.size());
      EXPECT_EQ(ExpandTabs(src.data(), src.size(), tabs, wide.data(), tab), expanded.size());
      EXPECT_EQ(wide.str(), expanded) << tab;
    }
  }
}

// Every length up to 64 with a TAB (or two) at every place, into an output of exactly
// the expanded size: the 16-byte paths must neither read past the input nor write past
// the output near either end.
TEST(TabKernels, EveryLengthAndTabPlaceIntoExactBlocks) {
  for (uint32_t tab : {1u, 2u, 3u, 8u, 15u, 16u, 17u, 40u}) {
    for (size_t n = 0; n <= 64; ++n) {
      for (size_t at = 0; at <= n; ++at) {
        Bytes in(n, 'x');
        for (size_t i = 0; i < n; ++i) in[i] = static_cast<char>('a' + i % 26);
        if (at < n) in[at] = '\t';
        if (at + 5 < n) in[n - 1] = '\t';
        Bytes expanded;
        for (char c : in) c == '\t' ? expanded.append(tab, ' ') : expanded.append(1, c);
        ExactBlock src(in), out(expanded.size());
        ASSERT_EQ(ExpandTabs(src.data(), n, CountTabs(src.data(), n), out.data(), tab), expanded.size()) << n << " " << at;
        ASSERT_EQ(out.str(), expanded) << tab << " " << n << " " << at;

        if (tab < 2) continue;  // a lone blank stays a blank only from a tab size of 2
        Bytes blanks(n, ' ');
        if (at < n) blanks[at] = 'y';
        Bytes compressed;
        for (size_t i = 0; i < n;) {
          size_t run = 0;
          for (; i < n && blanks[i] == ' '; ++i) ++run;
          compressed.append(run / tab, '\t').append(run % tab, ' ');
          if (i < n) compressed += blanks[i++];
        }
        ExactBlock text(blanks), packed(n);
        ASSERT_EQ(packed.str(CompressBlanks(text.data(), n, packed.data(), tab)), compressed) << tab << " " << n << " " << at;
      }
    }
  }
}

TEST(TabKernels, ExpansionLimitNeverWraps) {
  EXPECT_TRUE(ExpansionFits(32768, 10922, 3));
  EXPECT_FALSE(ExpansionFits(32768, 10923, 3));
  EXPECT_FALSE(ExpansionFits(32768, 32768, 0xFFFFFFFFu));
  EXPECT_FALSE(ExpansionFits(32768, 131072, 32768));  // 2^32 + 32768 must not wrap to small
}

TEST(ByteKernels, CaseAndSubstitutionMatchTheByteRule) {
  Bytes all(256, '\0');
  for (int i = 0; i < 256; ++i) all[i] = static_cast<char>(i);
  Bytes up = all, low = all;
  UpperAscii(U(up), up.size());
  LowerAscii(U(low), low.size());
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(static_cast<uint8_t>(up[i]), i >= 'a' && i <= 'z' ? i - 32 : i) << i;
    EXPECT_EQ(static_cast<uint8_t>(low[i]), i >= 'A' && i <= 'Z' ? i + 32 : i) << i;
  }

  std::mt19937 gen(3);
  for (int round = 0; round < 40; ++round) {
    Bytes from = RandomText(1 + gen() % 6, gen, Bytes("abc\0", 4)), to = RandomText(1 + gen() % 6, gen, "abcde");
    size_t pairs = std::min(from.size(), to.size());
    Bytes in = RandomText(500, gen, Bytes("abcdef\0", 7)), expected = in;
    for (char& c : expected)
      for (size_t i = 0; i < pairs; ++i)
        if (c == from[i]) c = to[i];
    ApplyMap(SubstitutionMap(U(from), U(to), pairs), U(in), in.size());
    EXPECT_EQ(in, expected);
  }
}

TEST(ByteKernels, KeepBytesMatchesTheByteRule) {
  std::mt19937 gen(4);
  for (int round = 0; round < 40; ++round) {
    Bytes set = RandomText(gen() % 5 + 1, gen, Bytes("ab\r\0\xE9", 5));
    Bytes in = RandomText(gen() % 1000, gen, Bytes("abc\r\n\0\xE9", 7));
    ByteSet bs = MakeByteSet(U(set), set.size());
    for (bool members : {false, true}) {
      Bytes expected;
      for (char c : in)
        if ((set.find(c) != Bytes::npos) == members) expected += c;
      Bytes out(in.size(), '\0');
      out.resize(KeepBytes(bs, members, U(in), in.size(), U(out)));
      EXPECT_EQ(out, expected);
      Bytes same = in;  // in place
      same.resize(KeepBytes(bs, members, U(same), same.size(), U(same)));
      EXPECT_EQ(same, expected);
    }
  }
}

TEST(WordCounter, StateCarriesAcrossAnySplit) {
  std::mt19937 gen(5);
  Bytes text = RandomText(600, gen, Bytes("ab \n\t\r\v\f\0\xE9", 10));
  // The plain rule: a word starts at a word byte after a break or at the start.
  uint64_t words = 0, lines = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    lines += text[i] == '\n';
    words += !IsWordBreak(static_cast<uint8_t>(text[i])) && (i == 0 || IsWordBreak(static_cast<uint8_t>(text[i - 1])));
  }
  for (size_t cut = 0; cut <= text.size(); ++cut) {
    WordCounter wc;
    wc.Feed(U(text), cut);
    wc.Feed(U(text) + cut, text.size() - cut);
    EXPECT_EQ(wc.words(), words) << cut;
    EXPECT_EQ(wc.lines(), lines) << cut;
  }
  for (int c = 0; c < 256; ++c)
    EXPECT_EQ(IsWordBreak(static_cast<uint8_t>(c)), c == 9 || c == 10 || c == 11 || c == 12 || c == 13 || c == 32);
  EXPECT_EQ(CountByte(U("a\rb\r\r\n"), 6, '\r'), 3u);
}

// Every byte value between word bytes and as a run of its own, in blocks long enough for
// the 16-byte path: white space is TAB, LF, VT, FF, CR and blank, and nothing else.
TEST(WordCounter, EveryByteValueBreaksWordsByTheRule) {
  for (int c = 0; c < 256; ++c) {
    const bool white = c == 9 || c == 10 || c == 11 || c == 12 || c == 13 || c == 32;
    Bytes mixed;
    for (int k = 0; k < 24; ++k) mixed.append(1, 'a').append(1, static_cast<char>(c));
    for (const Bytes& text : {mixed, Bytes(40, static_cast<char>(c))}) {
      ExactBlock block(text);
      WordCounter wc;
      wc.Feed(block.data(), block.size());
      const uint64_t words = text == mixed ? (white ? 24 : 1) : (white ? 0 : 1);
      EXPECT_EQ(wc.words(), words) << c << (text == mixed ? " between words" : " as a run");
      EXPECT_EQ(wc.lines(), c == '\n' ? text.size() / (text == mixed ? 2 : 1) : 0u) << c;
    }
  }
}

TEST(UuCodec, EveryGroupRoundTripsInPrintableCharacters) {
  char text[UU_LINE_CHARS];
  uint8_t back[3];
  for (uint32_t v = 0; v < (1u << 24); v += 4099) {
    uint8_t data[3] = {uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
    ASSERT_EQ(UuEncodeLine(data, 3, text), 6u);
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(text[i] >= 32 && text[i] <= 95);
    ASSERT_EQ(UuDecodeGroup(UuValue(text[1]), UuValue(text[2]), UuValue(text[3]), UuValue(text[4]), 3, back), 3u);
    ASSERT_EQ(Bytes(reinterpret_cast<char*>(back), 3), Bytes(reinterpret_cast<char*>(data), 3));
  }
  Bytes full(45, 'x');
  EXPECT_EQ(UuEncodeLine(U(full), 45, text), UU_LINE_CHARS);
  EXPECT_EQ(UuValue('`'), 0);
  EXPECT_EQ(UuValue(-1), 31);  // a character missing at the end of the input
  uint8_t out[3] = {7, 7, 7};
  EXPECT_EQ(UuDecodeGroup(16, 16, 0, 0, 1, out), 1u);
  EXPECT_EQ(out[0], 'A');
  EXPECT_EQ(out[1], 7);  // only the bytes still due are written
}

// The stream line by line: 45 bytes at a time, a short last line's last group padded
// with zero bytes.
Bytes EncodeByLines(const Bytes& data) {
  char text[UU_LINE_CHARS];
  Bytes out;
  for (size_t at = 0; at < data.size(); at += UU_LINE_BYTES) {
    size_t n = std::min(UU_LINE_BYTES, data.size() - at);
    uint8_t line[UU_LINE_BYTES] = {};
    std::memcpy(line, data.data() + at, n);
    out.append(text, UuEncodeLine(line, n, text));
  }
  return out;
}

// Decoding group by group from a character reader where the end of input reads as -1.
Bytes DecodeByGroups(const Bytes& text) {
  size_t at = 0;
  auto get = [&]() -> int { return at < text.size() ? static_cast<uint8_t>(text[at++]) : -1; };
  Bytes out;
  for (int c; (c = get()) != -1;) {
    size_t due = UuValue(c);
    if (due == 0) break;
    for (; due > 0; due -= std::min<size_t>(due, 3)) {
      uint8_t e = UuValue(get()), f = UuValue(get()), g = UuValue(get()), h = UuValue(get()), b[3];
      out.append(reinterpret_cast<char*>(b), UuDecodeGroup(e, f, g, h, due, b));
    }
    get();
  }
  return out;
}

// Feeds the pieces between the cuts to a block coder and finishes it.
template <class Coder, class Out>
Bytes FeedInPieces(const Bytes& in, std::vector<size_t> cuts) {
  cuts.push_back(in.size());
  Coder coder;
  Bytes out(Coder::Room(in.size()) + UU_MAX_LINE_CHARS, '\0');
  auto* dst = reinterpret_cast<Out*>(out.data());
  size_t at = 0, o = 0;
  for (size_t cut : cuts) {
    Bytes piece = in.substr(at, cut - at);  // a block of its own, nothing readable past it
    o += coder.Feed(U(piece), piece.size(), dst + o);
    at = cut;
  }
  o += coder.Finish(dst + o);
  out.resize(o);
  return out;
}

TEST(UuCodec, BlockCodersMatchTheLineLoopsAtAnySplit) {
  std::mt19937 gen(14);
  for (size_t size : {0, 1, 44, 45, 46, 90, 137, 1000}) {
    Bytes data(size, '\0');
    for (char& c : data) c = static_cast<char>(gen());
    const Bytes encoded = EncodeByLines(data);
    // Decoding meets lines of every length, a line cut short at the end, and a zero
    // length that ends the data before more lines.
    Bytes text = encoded;
    for (int k = 0; k < 3 && !text.empty(); ++k) text[gen() % text.size()] = static_cast<char>(33 + gen() % 63);
    text += size % 2 ? Bytes("`\nMjunk") : Bytes("%abcdef");
    const Bytes decoded = DecodeByGroups(text);
    for (size_t cut = 0; cut <= std::min<size_t>(size, 200); ++cut) {
      ASSERT_EQ((FeedInPieces<UuEncoder, char>(data, {cut})), encoded) << size << " " << cut;
      if (cut <= text.size()) ASSERT_EQ((FeedInPieces<UuDecoder, uint8_t>(text, {cut})), decoded) << size << " " << cut;
    }
    std::vector<size_t> cuts;
    for (size_t at = 0; at < text.size(); at += 1 + gen() % 9) cuts.push_back(at);
    EXPECT_EQ((FeedInPieces<UuDecoder, uint8_t>(text, cuts)), decoded) << size;
    cuts.clear();
    for (size_t at = 0; at < data.size(); at += 1 + gen() % 50) cuts.push_back(at);
    EXPECT_EQ((FeedInPieces<UuEncoder, char>(data, cuts)), encoded) << size;
  }
  EXPECT_EQ(DecodeByGroups(EncodeByLines("Cat")), "Cat");
}

}  // namespace
}  // namespace vnk
