// Wildcard matching without recursion or allocation.
#include "scan/wildcard_kernel.h"

#include <cstddef>

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

}  // namespace vnk
