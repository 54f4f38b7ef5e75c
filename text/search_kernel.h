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
