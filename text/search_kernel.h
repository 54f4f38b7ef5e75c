// The literal matcher and the replacement pass behind cFileSearch, cFileSearchCount and
// cFileSearchAndReplace: line pieces, ASCII folding, non-overlapping matches from the
// left, found in one pass over whole blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vnk {

// A line is handled in pieces of at most this many characters (its "\n" included when
// it falls inside); a match never spans two pieces.
constexpr size_t SEARCH_PIECE = 2559;
constexpr size_t REPLACE_PIECE = 4157;

// The longest texts each export takes.
constexpr size_t SEARCH_TEXT_MAX = 255;          // cFileSearch, cFileSearchCount
constexpr size_t REPLACE_SEARCH_TEXT_MAX = 256;  // cFileSearchAndReplace
constexpr size_t REPLACE_TEXT_MAX = 513;

// Result of the three exports when SearchText or ReplaceText is longer than they take:
// nothing is opened or written. (A path too long for the library is refused with the
// export's open-failure code instead, like everywhere else.)
constexpr int32_t RC_TEXT_TOO_LONG = -32700;

constexpr size_t NO_MATCH = static_cast<size_t>(-1);

// A to Z become a to z; no other byte changes.
void FoldInPlace(char* p, size_t n);

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
  // needle: m bytes, 0 < m <= 256, already folded when `fold`. `first_only` stops the
  // scan at the first match. `vector` picks the SSE2 loop (only where HasSse2()).
  LineSearch(const char* needle, size_t m, bool fold, size_t piece, bool first_only, bool vector);

  bool wants_text_view() const { return text_view_; }
  size_t length() const { return m_; }

  // Told of every match as it is found: its position in the block being scanned.
  using OnMatch = void (*)(void* context, size_t at);
  void ReportMatches(OnMatch on_match, void* context) {
    on_match_ = on_match;
    context_ = context;
  }

  struct Step {
    size_t used;  // bytes done with: the caller keeps p[used, n) in front of the next block
    bool stop;    // a 0x1A byte (at p[used]) ended the text, or the first match was found
  };
  // Scans the next block of text. `last` says nothing follows it; otherwise n - used is
  // less than the needle's length. In a last block a 0x1A that no match could start
  // before (in the needle's length before the end) is not looked for.
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
  OnMatch on_match_ = nullptr;
  void* context_ = nullptr;
};

// The pass of cFileSearchAndReplace over a file's text: every match of the search (as
// LineSearch finds them) becomes the replacement, and the output is what the runtime's
// text-mode write of the result makes: each "\n" goes out as CR LF. The bytes between
// matches go to the sink as they stand in the caller's block, in runs as long as the
// line ends allow.
//
// On raw blocks (a search text without CR and LF) a CR LF pair goes out as it is, a LF
// without a CR before it gets one, and every other byte is kept, which is exactly what a
// text-mode read followed by a text-mode write makes of them.
class LineReplace {
 public:
  using Sink = void (*)(void* context, const char* bytes, size_t n);
  // needle as for LineSearch; replacement: r <= REPLACE_TEXT_MAX bytes, put in as given.
  LineReplace(const char* needle, size_t m, bool fold, const char* replacement, size_t r, size_t piece, bool vector,
              Sink sink, void* context);
  LineReplace(const LineReplace&) = delete;
  LineReplace& operator=(const LineReplace&) = delete;

  bool wants_text_view() const { return search_.wants_text_view(); }
  // As LineSearch::Scan; the sink has had everything up to the bytes kept for the next
  // block (or, at the end, the whole text).
  LineSearch::Step Scan(const char* p, size_t n, bool last);
  // The characters of the output, each line end counted once.
  uint64_t total() const { return total_; }

 private:
  static void Replace(void* self, size_t at);
  void Keep(const char* p, size_t n);

  LineSearch search_;
  Sink sink_;
  void* context_;
  const char* block_ = nullptr;
  size_t emitted_ = 0;   // the block's bytes before this have gone to the sink
  bool after_cr_ = false;  // raw blocks: the last byte given to Keep was a CR
  bool vector_;
  uint64_t total_ = 0;
  size_t r_, written_r_;
  char written_[2 * REPLACE_TEXT_MAX];  // the replacement as it goes out (CR LF for "\n")
};

// Reads a whole input through `buffer` (`size` bytes, more than twice the needle's
// limit) and has `scanner` (a LineSearch or a LineReplace) scan it block by block.
// read(to, want, &got) puts up to `want` bytes of text at `to` (0 only at the end) and
// returns false when the read failed. Returns false after a failed read; stops early
// where the scan stops.
template <class Scanner, class Read>
bool ScanBlocks(Scanner& scanner, char* buffer, size_t size, Read&& read) {
  size_t kept = 0;  // text carried from the last block
  for (;;) {
    size_t got = 0;
    if (!read(buffer + kept, size - kept, &got)) return false;
    const size_t n = kept + got;
    const bool last = got == 0;
    LineSearch::Step step = scanner.Scan(buffer, n, last);
    if (step.stop || last) return true;
    kept = n - step.used;
    std::memmove(buffer, buffer + step.used, kept);
  }
}

}  // namespace vnk
