// Wildcard matching without recursion or allocation, and the folded name test.
#include "scan/wildcard_kernel.h"

#include <cstring>

#include "frame/ascii_kernel.h"

namespace vnk {

// A "*" followed by the character c matches when c (or any character, for "?") is found
// at some position of the name and the rest of the pattern matches what follows that
// position. Because a "*" absorbs any run, only the most recent "*" ever needs to be
// retried one position further on, which keeps the work to about name length times
// pattern length whatever the number of "*".
int16_t WildcardMatch(const char* name, const char* pattern) {
  constexpr size_t NONE = static_cast<size_t>(-1);
  size_t n = 0, p = 0;
  size_t star_p = NONE;  // the pattern position just after the last "*" met
  size_t star_n = 0;     // where in the name that "*"'s character is being tried
  bool after_star = false;  // the character at p follows a "*": a "*" there is ordinary
  for (;;) {
    char pc = pattern[p];
    if (pc == '*' && !after_star) {
      if (pattern[p + 1] == '\0') return -1;
      star_p = ++p;
      star_n = n;
      after_star = true;
      continue;
    }
    if (pc == '\0') {
      if (name[n] == '\0') return -1;
    } else if (name[n] != '\0' && (pc == '?' || pc == name[n])) {
      ++n;
      ++p;
      after_star = false;
      continue;
    }
    // Mismatch: give the last "*" one more character of the name, if there is one.
    if (star_p == NONE || name[star_n] == '\0') return 0;
    n = ++star_n;
    p = star_p;
    after_star = true;
  }
}

namespace {

// Copies at most cap - 1 bytes of text into out with the letters folded; false when the
// text does not fit.
bool FoldInto(const char* text, char* out, size_t cap) {
  size_t len = strnlen(text, cap);
  if (len >= cap) {
    out[0] = '\0';
    return false;
  }
  for (size_t i = 0; i < len; ++i) out[i] = static_cast<char>(FoldAscii(static_cast<unsigned char>(text[i])));
  out[len] = '\0';
  return true;
}

}  // namespace

bool FoldedPattern(const char* pattern, char (&out)[SCAN_PATTERN_CHARS + 1]) {
  return FoldInto(pattern, out, sizeof out);
}

bool WalkNameMatches(const char* name, const char* folded_pattern) {
  if (folded_pattern[0] == '\0') return true;
  // A folder entry's name has at most 255 UTF-16 units: 765 bytes of UTF-8 (510 of a
  // double-byte code page); a longer text is no entry name.
  char folded[3 * 255 + 1];
  return FoldInto(name, folded, sizeof folded) && WildcardMatch(folded, folded_pattern) == -1;
}

}  // namespace vnk
