// Literal matching and replacement over whole blocks of a file's text, with the rules of
// line pieces and of the end of the text checked at the candidates only.
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
      if (on_match_ != nullptr) on_match_(context_, at);
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

namespace {

// Where the first LF of p[0, n) without a CR before it is (the byte before p[0] is a CR
// when `after_cr`), or NO_MATCH; *pairs gains the CR LF pairs before that LF.
size_t LoneLfPlain(const char* p, size_t n, bool after_cr, size_t* pairs) {
  for (const char* q = p; (q = FindByte(q, static_cast<size_t>(p + n - q), '\n')) != nullptr; ++q) {
    if (!(q == p ? after_cr : q[-1] == '\r')) return static_cast<size_t>(q - p);
    ++*pairs;
  }
  return NO_MATCH;
}

#if VNK_HAVE_SSE2_PATH
VNK_SSE2 size_t LoneLfSse2(const char* p, size_t n, bool after_cr, size_t* pairs) {
  if (n == 0) return NO_MATCH;
  if (p[0] == '\n') {
    if (!after_cr) return 0;
    ++*pairs;
  }
  const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
  size_t i = 1;
  for (; n - i >= 16; i += 16) {
    unsigned lfs = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)), lf)));
    if (lfs == 0) continue;
    unsigned crs = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i - 1)), cr)));
    unsigned lone = lfs & ~crs;
    if (lone != 0) {
      unsigned before = (1u << __builtin_ctz(lone)) - 1;
      *pairs += static_cast<size_t>(__builtin_popcount(lfs & before));
      return i + __builtin_ctz(lone);
    }
    *pairs += static_cast<size_t>(__builtin_popcount(lfs));
  }
  size_t rest = LoneLfPlain(p + i, n - i, p[i - 1] == '\r', pairs);
  return rest == NO_MATCH ? NO_MATCH : i + rest;
}
#endif

}  // namespace

LineReplace::LineReplace(const char* needle, size_t m, bool fold, const char* replacement, size_t r, size_t piece,
                         bool vector, Sink sink, void* context)
    : search_(needle, m, fold, piece, false, vector), sink_(sink), context_(context), vector_(vector) {
#if !VNK_HAVE_SSE2_PATH
  vector_ = false;
#endif
  r_ = std::min(r, REPLACE_TEXT_MAX);
  written_r_ = 0;
  for (size_t i = 0; i < r_; ++i) {
    if (replacement[i] == '\n') written_[written_r_++] = '\r';
    written_[written_r_++] = replacement[i];
  }
  search_.ReportMatches(Replace, this);
}

void LineReplace::Keep(const char* p, size_t n) {
  if (n == 0) return;
  if (search_.wants_text_view()) {
    // Text: every "\n" goes out as CR LF.
    total_ += n;
    for (const char* end = p + n; p != end;) {
      const char* lf = FindByte(p, static_cast<size_t>(end - p), '\n');
      if (lf == nullptr) return sink_(context_, p, static_cast<size_t>(end - p));
      sink_(context_, p, static_cast<size_t>(lf - p));
      sink_(context_, "\r\n", 2);
      p = lf + 1;
    }
    return;
  }
  // Raw bytes: a CR LF pair is one character of text and goes out as it is; a LF on its
  // own gets its CR.
  while (n > 0) {
    size_t pairs = 0;
#if VNK_HAVE_SSE2_PATH
    size_t lone = vector_ ? LoneLfSse2(p, n, after_cr_, &pairs) : LoneLfPlain(p, n, after_cr_, &pairs);
#else
    size_t lone = LoneLfPlain(p, n, after_cr_, &pairs);
#endif
    if (lone == NO_MATCH) {
      sink_(context_, p, n);
      total_ += n - pairs;
      after_cr_ = p[n - 1] == '\r';
      return;
    }
    sink_(context_, p, lone);
    sink_(context_, "\r\n", 2);
    total_ += lone - pairs + 1;
    p += lone + 1;
    n -= lone + 1;
    after_cr_ = false;
  }
}

void LineReplace::Replace(void* self, size_t at) {
  auto* r = static_cast<LineReplace*>(self);
  r->Keep(r->block_ + r->emitted_, at - r->emitted_);
  r->sink_(r->context_, r->written_, r->written_r_);
  r->total_ += r->r_;
  r->emitted_ = at + r->search_.length();
  // The needle holds no CR, so the raw byte before what follows is none.
  r->after_cr_ = false;
}

LineSearch::Step LineReplace::Scan(const char* p, size_t n, bool last) {
  block_ = p;
  LineSearch::Step step = search_.Scan(p, n, last);
  size_t end = step.used;
  if (last && !step.stop) {
    // The end of the text may still lie in the bytes where no match could start.
    const size_t m = search_.length();
    const size_t from = std::max(emitted_, n >= m ? n - m + 1 : 0);
    const char* stop = from < n ? FindByte(p + from, n - from, '\x1A') : nullptr;
    if (stop != nullptr) end = static_cast<size_t>(stop - p);
  }
  if (emitted_ < end) {
    Keep(p + emitted_, end - emitted_);
    emitted_ = end;
  }
  emitted_ = emitted_ > step.used ? emitted_ - step.used : 0;
  return step;
}


}  // namespace vnk
