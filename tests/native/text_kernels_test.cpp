// Block kernels of the text functions, each checked against a plain byte-at-a-time
// rendering of its rule on random blocks, plus the cases callers depend on.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "text/count_kernel.h"
#include "text/filter_kernel.h"
#include "text/transforms_kernel.h"
#include "text/uu_kernel.h"

namespace vnk {
namespace {

using Bytes = std::string;
const uint8_t* U(const Bytes& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

// Random text drawn from a small alphabet, so that runs, TABs and breaks are common.
Bytes RandomText(size_t n, std::mt19937& gen, const Bytes& alphabet) {
  Bytes s(n, '\0');
  for (char& c : s) c = alphabet[gen() % alphabet.size()];
  return s;
}

Bytes Compress(const Bytes& in, uint32_t tab) {
  Bytes out(in.size(), '\0');
  out.resize(CompressBlanks(U(in), in.size(), reinterpret_cast<uint8_t*>(out.data()), tab));
  return out;
}

Bytes Expand(const Bytes& in, uint32_t tab) {
  size_t tabs = CountTabs(U(in), in.size());
  Bytes out(in.size() - tabs + tabs * tab, '\0');
  EXPECT_EQ(ExpandTabs(U(in), in.size(), tabs, reinterpret_cast<uint8_t*>(out.data()), tab), out.size());
  return out;
}

Bytes CompressReference(const Bytes& in, uint32_t tab) {
  Bytes out;
  for (size_t i = 0; i < in.size();) {
    if (in[i] != ' ') {
      out += in[i++];
      continue;
    }
    size_t run = 0;
    while (i < in.size() && in[i] == ' ') ++run, ++i;
    out.append(run / tab, '\t');
    out.append(run % tab, ' ');
  }
  return out;
}

TEST(CompressBlanks, RunsBecomeTabsThenBlanks) {
  EXPECT_EQ(Compress("         ", 4), "\t\t ");
  EXPECT_EQ(Compress("a    b", 4), "a\tb");
  EXPECT_EQ(Compress("   ", 4), "   ");
  EXPECT_EQ(Compress("\t \t", 4), "\t \t");
  EXPECT_EQ(Compress("x  ", 70000), "x  ");
  EXPECT_EQ(Compress("", 8), "");
}

TEST(CompressBlanks, MatchesByteRule) {
  std::mt19937 gen(1);
  for (uint32_t tab : {2u, 3u, 8u, 33u, 70000u}) {
    for (int round = 0; round < 50; ++round) {
      Bytes in = RandomText(gen() % 3000, gen, round % 2 ? "    a\t" : "  ab\n\x00\xff");
      EXPECT_EQ(Compress(in, tab), CompressReference(in, tab)) << tab;
    }
  }
}

TEST(ExpandTabs, EachTabBecomesTabSizeBlanks) {
  EXPECT_EQ(Expand("x\ty", 4), "x    y");
  EXPECT_EQ(Expand("\t\t", 2), "    ");
  EXPECT_EQ(Expand("no tabs", 9), "no tabs");
  std::mt19937 gen(2);
  for (int round = 0; round < 100; ++round) {
    Bytes in = RandomText(gen() % 2000, gen, "\tab \t");
    uint32_t tab = 2 + gen() % 9;
    Bytes expected;
    for (char c : in) c == '\t' ? expected.append(tab, ' ') : expected.append(1, c);
    EXPECT_EQ(Expand(in, tab), expected);
  }
}

TEST(ExpansionFits, ChargesEachTabItsOwnByteAndNeverWraps) {
  EXPECT_TRUE(ExpansionFits(32768, 10922, 3));   // 32768 + 32766
  EXPECT_FALSE(ExpansionFits(32768, 10923, 3));  // 32768 + 32769
  EXPECT_TRUE(ExpansionFits(1, 0, 70000));
  EXPECT_FALSE(ExpansionFits(1, 1, 70000));
  EXPECT_FALSE(ExpansionFits(32768, 32768, 0xFFFFFFFFu));
  EXPECT_FALSE(ExpansionFits(32768, 131072, 32768));  // 2^32 + 32768 must not wrap to small
}

TEST(CaseMapping, OnlyAsciiLettersChange) {
  Bytes all(256, '\0');
  for (int i = 0; i < 256; ++i) all[i] = static_cast<char>(i);
  Bytes up = all, low = all;
  UpperAscii(reinterpret_cast<uint8_t*>(up.data()), up.size());
  LowerAscii(reinterpret_cast<uint8_t*>(low.data()), low.size());
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(static_cast<uint8_t>(up[i]), i >= 'a' && i <= 'z' ? i - 32 : i) << i;
    EXPECT_EQ(static_cast<uint8_t>(low[i]), i >= 'A' && i <= 'Z' ? i + 32 : i) << i;
  }
}

Bytes Substitute(Bytes s, const Bytes& from, const Bytes& to) {
  ByteMap map = SubstitutionMap(U(from), U(to), std::min(from.size(), to.size()));
  ApplyMap(map, reinterpret_cast<uint8_t*>(s.data()), s.size());
  return s;
}

TEST(Substitution, PairsChainForwardOnly) {
  EXPECT_EQ(Substitute("abc", "ab", "bc"), "ccc");
  EXPECT_EQ(Substitute("abc", "ab", "ba"), "aac");
  EXPECT_EQ(Substitute("xyzx", "xyz", "Q"), "QyzQ");  // the longer string's surplus is ignored
  EXPECT_EQ(Substitute(Bytes("a\0b\0", 4), Bytes("\0", 1), "-"), "a-b-");
  EXPECT_EQ(Substitute("Aa", "a", "b"), "Ab");  // exact, case-sensitive
  std::mt19937 gen(3);
  for (int round = 0; round < 30; ++round) {
    Bytes from = RandomText(1 + gen() % 6, gen, "abcd"), to = RandomText(1 + gen() % 6, gen, "abcde");
    Bytes in = RandomText(500, gen, "abcdef");
    Bytes expected = in;
    for (char& c : expected)
      for (size_t i = 0; i < std::min(from.size(), to.size()); ++i)
        if (c == from[i]) c = to[i];
    EXPECT_EQ(Substitute(in, from, to), expected);
  }
}

TEST(KeepBytes, KeepsOrDropsTheSetInOrder) {
  std::mt19937 gen(4);
  for (int round = 0; round < 50; ++round) {
    Bytes set = RandomText(gen() % 5 + 1, gen, Bytes("ab\r\0\xE9", 5));
    Bytes in = RandomText(gen() % 1000, gen, Bytes("abc\r\n\0\xE9", 7));
    ByteSet bs = MakeByteSet(U(set), set.size());
    for (bool members : {false, true}) {
      Bytes expected;
      for (char c : in)
        if ((set.find(c) != Bytes::npos) == members) expected += c;
      Bytes out(in.size(), '\0');
      out.resize(KeepBytes(bs, members, U(in), in.size(), reinterpret_cast<uint8_t*>(out.data())));
      EXPECT_EQ(out, expected);
      Bytes same = in;  // in place
      same.resize(KeepBytes(bs, members, U(same), same.size(), reinterpret_cast<uint8_t*>(same.data())));
      EXPECT_EQ(same, expected);
    }
  }
}

struct Counts {
  uint64_t lines, words;
};
Counts CountSplit(const Bytes& s, const std::vector<size_t>& cuts) {
  WordCounter wc;
  size_t at = 0;
  for (size_t cut : cuts) {
    wc.Feed(U(s) + at, cut - at);
    at = cut;
  }
  wc.Feed(U(s) + at, s.size() - at);
  return {wc.lines(), wc.words()};
}

TEST(WordCounter, CountsWordsAndLineFeeds) {
  auto c = CountSplit("one two\r\nthree", {});
  EXPECT_EQ(c.lines, 1u);
  EXPECT_EQ(c.words, 3u);
  EXPECT_EQ(CountSplit("one\ntwo\n", {}).words, 2u);  // a bare LF ends a word
  EXPECT_EQ(CountSplit("\r\r\r", {}).words, 0u);
  EXPECT_EQ(CountSplit("\xE9\xE8\xFF", {}).words, 1u);
  EXPECT_EQ(CountSplit(Bytes("a\0b", 3), {}).words, 1u);  // NUL is a word byte
  EXPECT_EQ(CountSplit("\t\v\f a", {}).words, 1u);
}

TEST(WordCounter, StateCarriesAcrossAnySplit) {
  std::mt19937 gen(5);
  Bytes text = RandomText(600, gen, "ab \n\t\r\xE9");
  Counts whole = CountSplit(text, {});
  for (size_t cut = 0; cut <= text.size(); ++cut) {
    Counts split = CountSplit(text, {cut});
    EXPECT_EQ(split.words, whole.words) << cut;
    EXPECT_EQ(split.lines, whole.lines) << cut;
  }
  EXPECT_EQ(CountSplit(Bytes(20, 'w'), {10}).words, 1u);
  EXPECT_TRUE(IsWordBreak('\n'));
  EXPECT_FALSE(IsWordBreak(0x85));
}

TEST(CountByte, CountsEveryOccurrence) {
  Bytes s = "a\rb\r\r\n";
  EXPECT_EQ(CountByte(U(s), s.size(), '\r'), 3u);
  EXPECT_EQ(CountByte(U(s), 0, '\r'), 0u);
}

Bytes EncodeLine(const Bytes& data, size_t n) {
  char out[UU_LINE_CHARS];
  return Bytes(out, UuEncodeLine(U(data), n, out));
}

TEST(UuCodec, KnownLines) {
  EXPECT_EQ(EncodeLine("Cat", 3), "#0V%T\n");
  EXPECT_EQ(EncodeLine(Bytes("A\0\0", 3), 1), "!00  \n");
  Bytes line = EncodeLine(Bytes(45, 'x'), 45);
  EXPECT_EQ(line.size(), 62u);
  EXPECT_EQ(line[0], 'M');
  EXPECT_EQ(UuValue(' '), 0);
  EXPECT_EQ(UuValue('`'), 0);
  EXPECT_EQ(UuValue('_'), 63);
  EXPECT_EQ(UuValue(-1), 31);
}

TEST(UuCodec, GroupsRoundTrip) {
  for (int a = 0; a < 256; a += 5)
    for (int b = 0; b < 256; b += 7)
      for (int c = 0; c < 256; c += 11) {
        uint8_t data[3] = {uint8_t(a), uint8_t(b), uint8_t(c)};
        char text[UU_LINE_CHARS];
        ASSERT_EQ(UuEncodeLine(data, 3, text), 6u);
        uint8_t back[3];
        ASSERT_EQ(UuDecodeGroup(UuValue(text[1]), UuValue(text[2]), UuValue(text[3]), UuValue(text[4]), 3, back), 3u);
        ASSERT_EQ(Bytes(reinterpret_cast<char*>(back), 3), Bytes(reinterpret_cast<char*>(data), 3));
        for (char ch : Bytes(text, 5)) ASSERT_TRUE(ch >= 32 && ch <= 95);
      }
  uint8_t out[3] = {7, 7, 7};
  EXPECT_EQ(UuDecodeGroup(16, 16, 0, 0, 1, out), 1u);
  EXPECT_EQ(out[0], 'A');
  EXPECT_EQ(out[1], 7);  // only the bytes still due are written
}

}  // namespace
}  // namespace vnk
