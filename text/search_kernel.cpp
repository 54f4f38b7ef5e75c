// Literal matching and replacement over line pieces. Matching finds candidates with
// memchr on the needle's first byte and confirms them with memcmp; that finds exactly
// the positions a comparison at every position would, in the same order.
#include "text/search_kernel.h"

#include <algorithm>
#include <cstring>

#include "frame/bytes_kernel.h"
#include "frame/cpu_kernel.h"
#include "text/textmode_kernel.h"
#include "text/transforms_kernel.h"

#if VNK_HAVE_SSE2_PATH
#include <emmintrin.h>
#endif

namespace vnk {

// The same rule as the case transform's, which takes 16 bytes at a time.
void FoldInPlace(char* p, size_t n) { LowerAscii(reinterpret_cast<uint8_t*>(p), n); }

size_t PieceLength(const char* p, size_t available, size_t limit) {
  size_t span = std::min(available, limit);
  const char* end = FindByte(p, span, '\n');
  return end == nullptr ? span : static_cast<size_t>(end - p) + 1;
}

size_t FindFrom(const char* hay, size_t n, size_t from, const char* needle, size_t m) {
  if (m == 0 || from > n || n - from < m) return NO_MATCH;
  const size_t last = n - m;  // the last position where the needle still fits
  const char first = needle[0];
  for (size_t i = from; i <= last;) {
    const char* hit = FindByte(hay + i, last - i + 1, first);
    if (hit == nullptr) return NO_MATCH;
    i = static_cast<size_t>(hit - hay);
    if (SameBytes(hay + i + 1, needle + 1, m - 1)) return i;
    ++i;
  }
  return NO_MATCH;
}

size_t CountMatches(const char* hay, size_t n, const char* needle, size_t m) {
  size_t count = 0;
  for (size_t at = FindFrom(hay, n, 0, needle, m); at != NO_MATCH; at = FindFrom(hay, n, at + m, needle, m)) ++count;
  return count;
}

namespace {

constexpr char kEndOfText = '\x1A';

inline char FoldByte(char c) { return static_cast<unsigned char>(c - 'A') < 26 ? static_cast<char>(c + 32) : c; }

// What a candidate's first and last bytes are held against: byte | mask == want. The
// mask takes in the capital of a letter when case is ignored; bytes that are no letter
// then still compare exactly.
struct EdgeTest {
  char first, first_mask, last, last_mask;
};

EdgeTest EdgesOf(const char* needle, size_t m, bool fold) {
  auto mask = [fold](char c) { return static_cast<char>(fold && c >= 'a' && c <= 'z' ? 0x20 : 0); };
  return {needle[0], mask(needle[0]), needle[m - 1], mask(needle[m - 1])};
}

// Hands `take` every position in [i, starts) that holds a 0x1A or whose first and last
// bytes fit the needle's, in order; p[i + m - 1] is valid for each. `take` returns where
// to go on looking (behind a match, or the next position), or kStop to end the walk.
// Returns where the walk ended: starts or beyond, or kStop.
constexpr size_t kStop = static_cast<size_t>(-1);

template <class Take>
size_t WalkPlain(const char* p, size_t i, size_t starts, size_t m, EdgeTest e, Take& take) {
  while (i < starts) {
    char c = p[i];
    if (c == kEndOfText || ((c | e.first_mask) == e.first && (p[i + m - 1] | e.last_mask) == e.last)) {
      i = take(i);
      if (i == kStop) return kStop;
    } else {
      ++i;
    }
  }
  return i;
}

// Where the last LF in p[from, to) is, or NO_MATCH.
size_t LastLfPlain(const char* p, size_t from, size_t to) {
  while (to > from)
    if (p[--to] == '\n') return to;
  return NO_MATCH;
}

#if VNK_HAVE_SSE2_PATH
template <class Take>
VNK_SSE2 size_t WalkSse2(const char* p, size_t i, size_t starts, size_t m, EdgeTest e, Take& take) {
  const __m128i first = _mm_set1_epi8(e.first), first_mask = _mm_set1_epi8(e.first_mask);
  const __m128i last = _mm_set1_epi8(e.last), last_mask = _mm_set1_epi8(e.last_mask);
  const __m128i end = _mm_set1_epi8(kEndOfText);
  while (i < starts && starts - i >= 16) {
    __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + m - 1));
    __m128i fit = _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(a, first_mask), first),
                                _mm_cmpeq_epi8(_mm_or_si128(b, last_mask), last));
    unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(fit, _mm_cmpeq_epi8(a, end))));
    size_t next = i + 16;
    while (hits != 0) {
      size_t at = i + __builtin_ctz(hits);
      next = take(at);
      if (next == kStop) return kStop;
      if (next >= i + 16) break;
      hits &= ~0u << (next - i);  // the positions a match covered are no candidates
      next = i + 16;
    }
    i = next;
  }
  return WalkPlain(p, i, starts, m, e, take);
}

VNK_SSE2 size_t LastLfSse2(const char* p, size_t from, size_t to) {
  const __m128i lf = _mm_set1_epi8('\n');
  for (; to - from >= 16; to -= 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + to - 16));
    unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)));
    if (hits != 0) return to - 16 + (31 - __builtin_clz(hits));
  }
  return LastLfPlain(p, from, to);
}
#endif

}  // namespace

LineSearch::LineSearch(const char* needle, size_t m, bool fold, size_t piece, bool first_only, bool vector)
    : m_(std::min(m, sizeof needle_)), piece_(piece), fold_(fold), first_only_(first_only), vector_(vector) {
#if !VNK_HAVE_SSE2_PATH
  vector_ = false;
#endif
  std::memcpy(needle_, needle, m_);
  for (size_t i = 0; i < m_; ++i) {
    if (needle_[i] == '\r' || needle_[i] == '\n') text_view_ = true;
    // The text ends at a 0x1A; a LF ends its piece, so only the needle's last byte may
    // be one; a needle longer than a piece fits in none.
    if (needle_[i] == kEndOfText || (needle_[i] == '\n' && i + 1 < m_)) never_ = true;
  }
  if (m_ == 0 || m_ > piece_) never_ = true;
}

size_t LineSearch::ColumnAt(const char* p, size_t at, ptrdiff_t line_begin, size_t seen) const {
#if VNK_HAVE_SSE2_PATH
  size_t lf = vector_ ? LastLfSse2(p, seen, at) : LastLfPlain(p, seen, at);
#else
  size_t lf = LastLfPlain(p, seen, at);
#endif
  if (lf != NO_MATCH) line_begin = static_cast<ptrdiff_t>(lf + 1);
  return static_cast<size_t>(static_cast<ptrdiff_t>(at) - line_begin) % piece_;
}

// Whether the candidate at p[at] is a match that lies within one line piece. The line's
// start is kept up to date for the next candidate: the LFs before `seen` are accounted for.
bool LineSearch::Fits(const char* p, size_t at, ptrdiff_t* line_begin, size_t* seen) const {
  const char* h = p + at;
  if (fold_) {
    for (size_t k = 0; k < m_; ++k)
      if (FoldByte(h[k]) != needle_[k]) return false;
  } else if (m_ > 2 && !SameBytes(h + 1, needle_ + 1, m_ - 2)) {
    return false;
  }
  size_t column = ColumnAt(p, at, *line_begin, *seen);
  *line_begin = static_cast<ptrdiff_t>(at) - static_cast<ptrdiff_t>(column);
  *seen = at;
  return column + m_ <= piece_;
}

LineSearch::Step LineSearch::Scan(const char* p, size_t n, bool last) {
  // Positions where the needle still fits; all of them are taken now, and the bytes
  // behind the last one come again with the next block.
  const size_t starts = n >= m_ ? n - m_ + 1 : 0;
  const size_t used = last ? n : starts;
  if (never_) {
    const char* end = FindByte(p, used, kEndOfText);
    return {end != nullptr ? static_cast<size_t>(end - p) : used, end != nullptr};
  }
  const EdgeTest edges = EdgesOf(needle_, m_, fold_);
  // The line's start, relative to p, moved back by whole pieces where it lies before p:
  // only the column modulo the piece length matters.
  ptrdiff_t line_begin = -static_cast<ptrdiff_t>(column_);
  size_t seen = 0, resume = skip_, stopped_at = 0;
  auto take = [&](size_t at) -> size_t {
    if (p[at] != kEndOfText) {
      if (!Fits(p, at, &line_begin, &seen)) return at + 1;
      ++count_;
      if (!first_only_) return resume = at + m_;
    }
    stopped_at = at;  // the text ends here, or the first match is all the caller wants
    return kStop;
  };
#if VNK_HAVE_SSE2_PATH
  size_t walked = vector_ ? WalkSse2(p, skip_, starts, m_, edges, take) : WalkPlain(p, skip_, starts, m_, edges, take);
#else
  size_t walked = WalkPlain(p, skip_, starts, m_, edges, take);
#endif
  if (walked == kStop) return {stopped_at, true};
  column_ = ColumnAt(p, used, line_begin, seen);
  skip_ = resume > used ? resume - used : 0;
  return {used, false};
}

void SearchBlocks(LineSearch& search, char* buffer, size_t size, ReadBlock read, void* source) {
  const bool text_view = search.wants_text_view();
  size_t kept = 0;       // text carried from the last block
  bool held_cr = false;  // a CR that ended the last block's raw bytes, not yet translated
  for (bool end = false; !end;) {
    size_t raw = 0;
    if (held_cr) buffer[kept + raw++] = '\r';
    raw += read(source, buffer + kept + raw, size - kept - raw, &end);
    size_t n = kept + raw;
    if (text_view) {
      TextModeStep step = TextModeInPlace(buffer + kept, raw, end);
      n = kept + step.length;
      held_cr = !step.stop && step.used < raw;
      end = end || step.stop;
    }
    LineSearch::Step step = search.Scan(buffer, n, end);
    if (step.stop) return;
    kept = n - step.used;
    std::memmove(buffer, buffer + step.used, kept);
  }
}

bool ReplaceOutput::AppendBytes(const char* p, size_t n) {
  // Bytes of the input go in so that the buffer is written out the moment it passes
  // REPLACE_FLUSH, as if they came one at a time.
  while (n > 0 && !failed_) {
    size_t take = std::min(n, REPLACE_FLUSH + 1 - used_);
    std::memcpy(buffer_ + used_, p, take);
    used_ += take;
    p += take;
    n -= take;
    if (used_ > REPLACE_FLUSH) Flush();
  }
  return !failed_;
}

bool ReplaceOutput::AppendWhole(const char* p, size_t n) {
  // A replacement text goes in at once; the buffer has room for the longest one on top
  // of REPLACE_FLUSH bytes.
  if (failed_) return false;
  if (n > REPLACE_TEXT_MAX) return AppendBytes(p, n);
  std::memcpy(buffer_ + used_, p, n);
  used_ += n;
  if (used_ > REPLACE_FLUSH) Flush();
  return !failed_;
}

bool ReplaceOutput::Flush() {
  if (failed_) return false;
  total_ += used_;
  if (used_ != 0 && !sink_(context_, buffer_, used_)) failed_ = true;
  used_ = 0;
  return !failed_;
}

bool ReplacePiece(const char* as_read, const char* match, size_t n, const char* needle, size_t m,
                  const char* replacement, size_t r, ReplaceOutput& out) {
  // A piece shorter than the needle holds no match and is copied as read; so are the
  // bytes between matches. With a one-byte needle and a one-byte replacement this is the
  // byte-for-byte substitution: every other byte keeps its case.
  size_t kept = 0;
  for (size_t at = FindFrom(match, n, 0, needle, m); at != NO_MATCH; at = FindFrom(match, n, kept, needle, m)) {
    if (!out.AppendBytes(as_read + kept, at - kept)) return false;
    if (!out.AppendWhole(replacement, r)) return false;
    kept = at + m;
  }
  if (!out.AppendBytes(as_read + kept, n - kept)) return false;
  return out.EndPiece();
}

}  // namespace vnk
