// Literal matching and replacement over line pieces. Matching finds candidates with
// memchr on the needle's first byte and confirms them with memcmp; that finds exactly
// the positions a comparison at every position would, in the same order.
#include "text/search_kernel.h"

#include <algorithm>
#include <cstring>

namespace vnk {

void FoldInPlace(char* p, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (p[i] >= 'A' && p[i] <= 'Z') p[i] = static_cast<char>(p[i] + 32);
}

size_t PieceLength(const char* p, size_t available, size_t limit) {
  size_t span = std::min(available, limit);
  const void* end = std::memchr(p, '\n', span);
  return end == nullptr ? span : static_cast<size_t>(static_cast<const char*>(end) - p) + 1;
}

size_t FindFrom(const char* hay, size_t n, size_t from, const char* needle, size_t m) {
  if (m == 0 || from > n || n - from < m) return NO_MATCH;
  const size_t last = n - m;  // the last position where the needle still fits
  const char first = needle[0];
  for (size_t i = from; i <= last;) {
    const void* hit = std::memchr(hay + i, first, last - i + 1);
    if (hit == nullptr) return NO_MATCH;
    i = static_cast<size_t>(static_cast<const char*>(hit) - hay);
    if (std::memcmp(hay + i + 1, needle + 1, m - 1) == 0) return i;
    ++i;
  }
  return NO_MATCH;
}

size_t CountMatches(const char* hay, size_t n, const char* needle, size_t m) {
  size_t count = 0;
  for (size_t at = FindFrom(hay, n, 0, needle, m); at != NO_MATCH; at = FindFrom(hay, n, at + m, needle, m)) ++count;
  return count;
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
