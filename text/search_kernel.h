// The literal matcher and the replacement writer behind cFileSearch, cFileSearchCount
// and cFileSearchAndReplace: line pieces, ASCII folding, non-overlapping matches from
// the left, and the output buffer of the replacement.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vnk {

// A line is handled in pieces of at most this many characters (its "\n" included when
// it falls inside); a match never spans two pieces.
constexpr size_t SEARCH_PIECE = 2559;
constexpr size_t REPLACE_PIECE = 4157;

// The longest texts each export takes.
constexpr size_t SEARCH_TEXT_MAX = 255;          // cFileSearch, cFileSearchCount
constexpr size_t REPLACE_SEARCH_TEXT_MAX = 256;  // cFileSearchAndReplace
constexpr size_t REPLACE_TEXT_MAX = 513;

// The replacement's output buffer is written out as soon as it holds more than this.
constexpr size_t REPLACE_FLUSH = 4096;

// Result of the three exports when SearchText or ReplaceText is longer than they take:
// nothing is opened or written. (A path too long for the library is refused with the
// export's open-failure code instead, like everywhere else.)
constexpr int32_t RC_TEXT_TOO_LONG = -32700;

constexpr size_t NO_MATCH = static_cast<size_t>(-1);

// A to Z become a to z; no other byte changes.
void FoldInPlace(char* p, size_t n);

// Length of the piece that starts at p, given `available` bytes of text: up to and
// including the first "\n" within `limit` bytes, else `limit` (or all that is left).
size_t PieceLength(const char* p, size_t available, size_t limit);

// Position of the first occurrence of needle (m > 0 bytes) in hay[from, n), or NO_MATCH.
size_t FindFrom(const char* hay, size_t n, size_t from, const char* needle, size_t m);

// Occurrences of needle in hay, taken left to right without overlapping ("aa" occurs
// twice in "aaaa").
size_t CountMatches(const char* hay, size_t n, const char* needle, size_t m);

// One pass over a file's text, block after block, that finds exactly what the piece by
// piece search finds: the needle's occurrences in each line piece of `piece` characters,
// left to right without overlapping, folded when case is ignored, up to the first 0x1A.
// Candidates are the positions whose first and last bytes fit the needle's (16 positions
// at a time where the processor has SSE2); the rules of pieces and lines are looked at
// for those only.
//
// A needle without CR and LF matches the raw bytes of the file exactly where it matches
// their text-mode view (only CR LF pairs differ, and a line keeps its columns), so such
// a search reads raw blocks; a needle with CR or LF wants the text-mode view.
class LineSearch {
 public:
  // needle: m bytes, 0 < m <= 255, already folded when `fold`. `first_only` stops the
  // scan at the first match. `vector` picks the SSE2 loop (only where HasSse2()).
  LineSearch(const char* needle, size_t m, bool fold, size_t piece, bool first_only, bool vector);

  bool wants_text_view() const { return text_view_; }

  struct Step {
    size_t used;  // bytes done with: the caller keeps p[used, n) in front of the next block
    bool stop;    // a 0x1A byte ended the text, or the first match was found
  };
  // Scans the next block of text. `last` says nothing follows it; otherwise n - used is
  // less than the needle's length.
  Step Scan(const char* p, size_t n, bool last);

  uint64_t count() const { return count_; }

 private:
  bool Fits(const char* p, size_t at, ptrdiff_t* line_begin, size_t* seen) const;
  size_t ColumnAt(const char* p, size_t at, ptrdiff_t line_begin, size_t seen) const;

  char needle_[256];
  size_t m_;
  size_t piece_;
  bool fold_, first_only_, vector_;
  bool text_view_ = false;
  bool never_ = false;  // the needle can match nowhere (a 0x1A, or a LF before its end)
  uint64_t count_ = 0;
  size_t column_ = 0;  // column of the next block's first byte in its line, modulo piece_
  size_t skip_ = 0;    // positions at the next block's start inside the last match
};

// Reads a whole input through `buffer` (`size` bytes, more than twice the needle's
// limit) and scans it block by block: raw, or made into the text-mode view block by
// block where the search wants it. `read` puts up to `want` bytes at `to` and returns
// how many; it sets *end once the input has ended (the end of the file, a failed read
// or a read that brought nothing). Stops early where the search stops.
using ReadBlock = size_t (*)(void* source, char* to, size_t want, bool* end);
void SearchBlocks(LineSearch& search, char* buffer, size_t size, ReadBlock read, void* source);

// The output of the replacement: bytes collect in a buffer that goes to the sink as
// soon as it holds more than REPLACE_FLUSH bytes and at the end of every piece. The total
// counts every byte handed to the sink (a line end is one "\n" here, whatever the sink
// makes of it). Once the sink fails, nothing more is written.
class ReplaceOutput {
 public:
  using Sink = bool (*)(void* context, const char* bytes, size_t n);
  ReplaceOutput(Sink sink, void* context) : sink_(sink), context_(context) {}
  bool AppendBytes(const char* p, size_t n);
  bool AppendWhole(const char* p, size_t n);  // n <= REPLACE_TEXT_MAX
  bool EndPiece() { return Flush(); }
  uint64_t total() const { return total_; }
  bool failed() const { return failed_; }

 private:
  bool Flush();
  Sink sink_;
  void* context_;
  uint64_t total_ = 0;
  size_t used_ = 0;
  bool failed_ = false;
  char buffer_[REPLACE_FLUSH + REPLACE_TEXT_MAX + 1];
};

// Replaces every occurrence of needle in one piece. Matching looks at `match` (the piece
// folded when case is ignored, else the piece itself); the bytes kept come from
// `as_read`, so a case-insensitive replacement leaves every other letter as it was, and
// `replacement` goes in exactly as given. After a match the search resumes behind it in
// the input, so a replacement that contains the search text is not replaced again.
bool ReplacePiece(const char* as_read, const char* match, size_t n, const char* needle, size_t m,
                  const char* replacement, size_t r, ReplaceOutput& out);

}  // namespace vnk
