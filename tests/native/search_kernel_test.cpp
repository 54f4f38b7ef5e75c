// The matcher and the replacement pass of the search functions: pieces, folding,
// non-overlapping matches, and the line ends and the end of the text as the runtime's
// text mode reads and writes them.
#include "text/search_kernel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace vnk {
namespace {

TEST(Fold, OnlyAToZ) {
  std::string s = "@AZ[`az{\xC9\xE9";
  FoldInPlace(s.data(), s.size());
  EXPECT_EQ(s, "@az[`az{\xC9\xE9");
}

// What the runtime's text-mode read makes of a file, one byte at a time: CR LF is LF,
// the text ends at the first 0x1A.
std::string TextView(const std::string& raw) {
  std::string text;
  for (size_t i = 0; i < raw.size() && raw[i] != '\x1A'; ++i)
    if (!(raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n')) text += raw[i];
  return text;
}

// Hands a whole file to a scan in reads of at most `chunk` bytes through a buffer of 600:
// its raw bytes, or their text-mode view where the scan wants that.
template <class Scanner>
void ScanInChunks(Scanner& scanner, const std::string& raw, size_t chunk) {
  const std::string input = scanner.wants_text_view() ? TextView(raw) : raw;
  size_t at = 0;
  std::vector<char> buffer(600);
  ASSERT_TRUE(ScanBlocks(scanner, buffer.data(), buffer.size(), [&](char* to, size_t want, size_t* got) {
    *got = std::min({want, chunk, input.size() - at});
    std::memcpy(to, input.data() + at, *got);
    at += *got;
    return true;
  }));
}

// The count (or -1/0 when only the first match is wanted), the same from both loops
// whatever the reads.
int64_t OnePass(const std::string& raw, std::string needle, bool fold, bool first_only = false,
                size_t piece = SEARCH_PIECE) {
  int64_t answer = -2;
  if (fold) FoldInPlace(needle.data(), needle.size());
  for (bool vector : {false, true})
    for (size_t chunk : {size_t{1}, size_t{7}, size_t{4096}}) {
      LineSearch search(needle.data(), needle.size(), fold, piece, first_only, vector);
      ScanInChunks(search, raw, chunk);
      int64_t got = first_only ? -static_cast<int64_t>(search.count() > 0) : static_cast<int64_t>(search.count());
      if (answer != -2) EXPECT_EQ(got, answer) << "sse2 " << vector << ", reads of " << chunk;
      answer = got;
    }
  return answer;
}

TEST(OnePass, LeftToRightWithoutOverlap) {
  EXPECT_EQ(OnePass("aaaa", "aa", false), 2);
  EXPECT_EQ(OnePass("aaa", "aa", false), 1);
  EXPECT_EQ(OnePass("ab", "abc", false), 0);
  EXPECT_EQ(OnePass("abababa", "aba", false), 2);
  EXPECT_EQ(OnePass(std::string("a\0a\0", 4), "a", false), 2);
}

// The count must equal a comparison at every position of a line.
TEST(OnePass, SameAsAComparisonAtEveryPosition) {
  std::mt19937 gen(3);
  for (int round = 0; round < 300; ++round) {
    std::string hay, needle;
    size_t n = gen() % 40, m = 1 + gen() % 4;
    for (size_t i = 0; i < n; ++i) hay += "ab\0"[gen() % 3];
    for (size_t i = 0; i < m; ++i) needle += "ab"[gen() % 2];
    int64_t expected = 0;
    for (size_t i = 0; i + m <= n;)
      if (hay.compare(i, m, needle) == 0) {
        ++expected;
        i += m;
      } else {
        ++i;
      }
    ASSERT_EQ(OnePass(hay, needle, false), expected) << hay << " / " << needle;
  }
}

TEST(OnePass, LinesCrLfAndTheEndOfText) {
  EXPECT_EQ(OnePass("aaaa\r\naa\naa", "aa", false), 4);
  EXPECT_EQ(OnePass("Hello World\r\n", "world", false), 0);
  EXPECT_EQ(OnePass("Hello World\r\n", "world", true), 1);
  EXPECT_EQ(OnePass("Hello World\r\n", "world", true, true), -1);
  EXPECT_EQ(OnePass("xy\r\nxy\x1Axy\r\n", "xy", false), 2);  // the text ends at 0x1A
  EXPECT_EQ(OnePass("\x1Axy", "xy", false, true), 0);
  EXPECT_EQ(OnePass("a\x1A", "a\x1A", false), 0);
  // A line end is one LF however it is written; a CR before anything else stays.
  EXPECT_EQ(OnePass("ab\r\nab\nab\rab", "b\n", false), 2);
  EXPECT_EQ(OnePass("ab\r\nab\r\r\nab\rab", "b\r", false), 2);
  EXPECT_EQ(OnePass("a\r\r\nb\r\n", "\r\nb", false), 0);  // a LF ends its piece
  EXPECT_EQ(OnePass("a\r\r\nb\r\n", "a\r\n", false), 1);
  EXPECT_EQ(OnePass("ab\r", "b\r", false), 1);  // a CR at the very end stays
  EXPECT_EQ(OnePass("AaB\xC1\xE1", "ab", true), 1);
  EXPECT_EQ(OnePass("\xC1\xE1", "\xE1", true), 1);  // folding is A to Z only
}

TEST(OnePass, NoMatchSpansTheCutOfALongLine) {
  // Pieces of 5: "abcde" "fabcd" "efab\n" "abcde" "fghij" "\n".
  const std::string text = "abcdefabcdefab\r\nabcdefghij\r\n";
  EXPECT_EQ(OnePass(text, "ab", false, false, 5), 4);
  EXPECT_EQ(OnePass(text, "de", false, false, 5), 2);
  EXPECT_EQ(OnePass(text, "ef", false, false, 5), 1);  // twice across a cut, once inside a piece
  EXPECT_EQ(OnePass(text, "b\n", false, false, 5), 1);
  EXPECT_EQ(OnePass(text, "j\n", false, false, 5), 0);  // the LF is a piece of its own
  EXPECT_EQ(OnePass(text, "abcdef", false, false, 5), 0);
  // The same at the real piece length, with a match on each side of the cut and one
  // across it.
  std::string line = "x" + std::string(SEARCH_PIECE - 3, '.') + "xyz" + std::string(SEARCH_PIECE - 3, '.') + "xy\r\n";
  EXPECT_EQ(OnePass(line, "xy", false), 2);
  EXPECT_EQ(OnePass(line + line, "yz", false), 0);
  EXPECT_EQ(OnePass(line, "z", false), 1);
}

// A whole file through the replacement pass, in reads of every size, with the plain loop
// and with SSE2: the bytes written (the same from every run) and the total.
std::string Replace(const std::string& raw, std::string needle, const std::string& replacement, bool fold,
                    uint64_t* total = nullptr, size_t piece = REPLACE_PIECE) {
  if (fold) FoldInPlace(needle.data(), needle.size());
  std::string answer;
  bool first = true;
  for (bool vector : {false, true})
    for (size_t chunk : {size_t{1}, size_t{7}, size_t{4096}}) {
      std::string out;
      auto sink = [](void* o, const char* p, size_t n) { static_cast<std::string*>(o)->append(p, n); };
      LineReplace pass(needle.data(), needle.size(), fold, replacement.data(), replacement.size(), piece, vector, sink,
                       &out);
      ScanInChunks(pass, raw, chunk);
      if (!first) EXPECT_EQ(out, answer) << "sse2 " << vector << ", reads of " << chunk;
      if (total != nullptr) *total = pass.total();
      answer = out;
      first = false;
    }
  return answer;
}

TEST(Replace, TheExamples) {
  EXPECT_EQ(Replace("Cat cat CAT\r\n", "cat", "dog", true), "dog dog dog\r\n");
  EXPECT_EQ(Replace("Cat cat CAT\r\n", "cat", "dog", false), "Cat dog CAT\r\n");
  EXPECT_EQ(Replace("aaa\r\n", "aa", "b", false), "ba\r\n");
  EXPECT_EQ(Replace("banana\r\n", "a", "", false), "bnn\r\n");
  EXPECT_EQ(Replace("AaB\r\n", "a", "b", true), "bbB\r\n");
  EXPECT_EQ(Replace("a\r\n\r\n", "abc", "x", false), "a\r\n\r\n");
  // The replacement is not searched again, and goes in as given.
  EXPECT_EQ(Replace("aa\r\n", "a", "aa", false), "aaaa\r\n");
  EXPECT_EQ(Replace("xAx\r\n", "a", "Bb", true), "xBbx\r\n");
  uint64_t total = 0;
  EXPECT_EQ(Replace("abc\n", "b", "xy", false, &total), "axyc\r\n");
  EXPECT_EQ(total, 5u);  // each line end counts once
  EXPECT_EQ(Replace("abc", "c", "d", false, &total), "abd");  // no line end is added
  EXPECT_EQ(total, 3u);
}

// What the text-mode read and write make of the line ends, in raw blocks (a search text
// without CR and LF) and in the text view (one with them), and the end at 0x1A.
TEST(Replace, LineEndsAsTheRuntimeWritesThem) {
  const std::string raw = "a\nb\r\nc\rd\r\r\ne\r";
  uint64_t total = 0;
  EXPECT_EQ(Replace(raw, "#", "x", false, &total), "a\r\nb\r\nc\rd\r\r\ne\r");
  EXPECT_EQ(total, TextView(raw).size());
  EXPECT_EQ(Replace(raw, "d\r", "D", false, &total), "a\r\nb\r\nc\rD\r\ne\r");
  EXPECT_EQ(total, TextView(raw).size() - 1);
  EXPECT_EQ(Replace(raw, "\n", "|", false), "a|b|c\rd\r|e\r");
  // A LF in the replacement goes out as CR LF and counts once.
  EXPECT_EQ(Replace("a-b\r\n", "-", "\n", false, &total), "a\r\nb\r\n");
  EXPECT_EQ(total, 4u);
  EXPECT_EQ(Replace("ab\rab\r\n", "b", "\r", false), "a\r\ra\r\r\n");
  // The text ends at the first 0x1A, also in the last bytes where no match can start.
  EXPECT_EQ(Replace("xy\r\nxy\x1Axy\r\n", "xy", "z", false, &total), "z\r\nz");
  EXPECT_EQ(total, 3u);
  EXPECT_EQ(Replace("abc\x1A\r\n", "abcde", "z", false), "abc");
  EXPECT_EQ(Replace("abc\x1A\r\n", "c\n", "z", false), "abc");
  EXPECT_EQ(Replace("\x1A", "\x1A", "z", false), "");
}

TEST(Replace, NoMatchSpansTheCutOfALongLine) {
  // Pieces of 5: "abcde" "fabcd" "efab\n" "abcde" "fghij" "\n".
  const std::string text = "abcdefabcdefab\r\nabcdefghij\r\n";
  EXPECT_EQ(Replace(text, "ef", "_", false, nullptr, 5), "abcdefabcd_ab\r\nabcdefghij\r\n");
  EXPECT_EQ(Replace(text, "b\n", "_", false, nullptr, 5), "abcdefabcdefa_abcdefghij\r\n");
  EXPECT_EQ(Replace(text, "j\n", "_", false, nullptr, 5), text);
  std::string line = "x" + std::string(REPLACE_PIECE - 3, '.') + "xyz" + std::string(REPLACE_PIECE - 3, '.') + "xy\r\n";
  std::string expect = "x" + std::string(REPLACE_PIECE - 3, '.') + "-z" + std::string(REPLACE_PIECE - 3, '.') + "-\r\n";
  EXPECT_EQ(Replace(line, "xy", "-", false), expect);
}

}  // namespace
}  // namespace vnk
