// The matcher and replacement writer of the search functions: pieces, folding,
// non-overlapping matches, and the output buffer's flushing.
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

TEST(Pieces, EndAtTheLineEndOrTheLimit) {
  EXPECT_EQ(PieceLength("ab\ncd", 5, 10), 3u);
  EXPECT_EQ(PieceLength("abcdef", 6, 4), 4u);
  EXPECT_EQ(PieceLength("abc\n", 4, 3), 3u);  // the "\n" falls into the next piece
  EXPECT_EQ(PieceLength("abc", 3, 10), 3u);
}

TEST(Matches, LeftToRightWithoutOverlap) {
  EXPECT_EQ(CountMatches("aaaa", 4, "aa", 2), 2u);
  EXPECT_EQ(CountMatches("aaa", 3, "aa", 2), 1u);
  EXPECT_EQ(CountMatches("ab", 2, "abc", 3), 0u);
  EXPECT_EQ(CountMatches("abababa", 7, "aba", 3), 2u);
  EXPECT_EQ(CountMatches(std::string("a\0a\0", 4).data(), 4, "a", 1), 2u);
}

// Counting through FindFrom must equal a comparison at every position.
TEST(Matches, SameAsAComparisonAtEveryPosition) {
  std::mt19937 gen(3);
  for (int round = 0; round < 2000; ++round) {
    std::string hay, needle;
    size_t n = gen() % 40, m = 1 + gen() % 4;
    for (size_t i = 0; i < n; ++i) hay += "ab\0"[gen() % 3];
    for (size_t i = 0; i < m; ++i) needle += "ab"[gen() % 2];
    size_t expected = 0;
    for (size_t i = 0; i + m <= n;)
      if (hay.compare(i, m, needle) == 0) {
        ++expected;
        i += m;
      } else {
        ++i;
      }
    ASSERT_EQ(CountMatches(hay.data(), n, needle.data(), m), expected) << hay << " / " << needle;
  }
}

// The one-pass search over a whole file's bytes, fed in reads of `chunk` bytes through a
// buffer of `size`, with the plain loop and with SSE2.
struct Reads {
  std::string raw;
  size_t chunk, at = 0;
  static size_t Read(void* self, char* to, size_t want, bool* end) {
    auto* r = static_cast<Reads*>(self);
    size_t n = std::min({want, r->chunk, r->raw.size() - r->at});
    std::memcpy(to, r->raw.data() + r->at, n);
    r->at += n;
    if (n == 0 || r->at == r->raw.size()) *end = true;
    return n;
  }
};

// The count (or -1/0 when only the first match is wanted), the same from both loops
// whatever the reads and the buffer.
int64_t OnePass(const std::string& raw, std::string needle, bool fold, bool first_only = false,
                size_t piece = SEARCH_PIECE) {
  int64_t answer = -2;
  for (bool vector : {false, true})
    for (size_t chunk : {size_t{1}, size_t{7}, size_t{4096}}) {
      if (fold) FoldInPlace(needle.data(), needle.size());
      LineSearch search(needle.data(), needle.size(), fold, piece, first_only, vector);
      Reads reads{raw, chunk};
      std::vector<char> buffer(600);
      SearchBlocks(search, buffer.data(), buffer.size(), Reads::Read, &reads);
      int64_t got = first_only ? -static_cast<int64_t>(search.count() > 0) : static_cast<int64_t>(search.count());
      if (answer != -2) EXPECT_EQ(got, answer) << "sse2 " << vector << ", reads of " << chunk;
      answer = got;
    }
  return answer;
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

struct Collect {
  std::vector<std::string> writes;
  size_t allowed = SIZE_MAX;
  static bool Sink(void* self, const char* p, size_t n) {
    auto* c = static_cast<Collect*>(self);
    if (c->writes.size() >= c->allowed) return false;
    c->writes.emplace_back(p, n);
    return true;
  }
  std::string all() const {
    std::string s;
    for (auto& w : writes) s += w;
    return s;
  }
};

std::string Replace(std::string piece, std::string needle, const std::string& replacement, bool fold) {
  Collect c;
  ReplaceOutput out(Collect::Sink, &c);
  std::string match = piece;
  if (fold) {
    FoldInPlace(match.data(), match.size());
    FoldInPlace(needle.data(), needle.size());
  }
  EXPECT_TRUE(ReplacePiece(piece.data(), match.data(), piece.size(), needle.data(), needle.size(),
                           replacement.data(), replacement.size(), out));
  EXPECT_EQ(out.total(), c.all().size());
  return c.all();
}

TEST(Replace, TheExamples) {
  EXPECT_EQ(Replace("Cat cat CAT\n", "cat", "dog", true), "dog dog dog\n");
  EXPECT_EQ(Replace("Cat cat CAT\n", "cat", "dog", false), "Cat dog CAT\n");
  EXPECT_EQ(Replace("aaa\n", "aa", "b", false), "ba\n");
  EXPECT_EQ(Replace("banana\n", "a", "", false), "bnn\n");
  EXPECT_EQ(Replace("AaB\n", "a", "b", true), "bbB\n");
  EXPECT_EQ(Replace("a\n", "abc", "x", false), "a\n");
  // The replacement is not searched again, and goes in as given.
  EXPECT_EQ(Replace("aa\n", "a", "aa", false), "aaaa\n");
  EXPECT_EQ(Replace("xAx\n", "a", "Bb", true), "xBbx\n");
}

TEST(Replace, OutputGoesOutWhenItPassesTheFlushSize) {
  Collect c;
  ReplaceOutput out(Collect::Sink, &c);
  std::string piece(10000, 'x');
  piece.replace(4000, 1, "y");
  std::string replacement(500, 'r');
  ASSERT_TRUE(ReplacePiece(piece.data(), piece.data(), piece.size(), "y", 1, replacement.data(), replacement.size(), out));
  // 4000 bytes kept, then the whole replacement: 4500 goes out at once; then runs of
  // 4097 bytes, then the end of the piece.
  std::vector<size_t> sizes;
  for (auto& w : c.writes) sizes.push_back(w.size());
  EXPECT_EQ(sizes, (std::vector<size_t>{4500, 4097, 1902}));
  EXPECT_EQ(out.total(), 9999u + 500u);
}

TEST(Replace, NothingMoreIsWrittenAfterAFailedWrite) {
  Collect c;
  c.allowed = 1;
  ReplaceOutput out(Collect::Sink, &c);
  std::string piece(9000, 'x');
  EXPECT_FALSE(ReplacePiece(piece.data(), piece.data(), piece.size(), "y", 1, "z", 1, out));
  EXPECT_TRUE(out.failed());
  EXPECT_EQ(c.writes.size(), 1u);
  EXPECT_FALSE(out.EndPiece());
}

}  // namespace
}  // namespace vnk
