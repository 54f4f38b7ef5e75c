// File name validation.
#include "scan/validate_kernel.h"

#include <cstring>

namespace vnk {

int16_t ValidateFileName(const char* text) {
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  size_t len = strnlen(text, 517);
  if (len == 0 || len > 516) return 0;

  // Exactly one leading parent reference is allowed.
  size_t start = (len >= 4 && s[0] == '.' && s[1] == '.' && s[2] == '\\') ? 3 : 0;
  bool dot_seen = false;
  int16_t run = 0;  // characters since the last backslash, colon or dot
  for (size_t i = start; i < len; ++i) {
    unsigned char c = s[i];
    if (c == '.') {
      if (dot_seen || i == 0) return 0;
      if (s[i - 1] == '\\' || s[i - 1] == ':') return 6;
      if (run > 256) return 1;
      dot_seen = true;
      run = 0;
    } else if (c < 0x20 || c == '"' || c == '/') {
      return 0;
    } else if (c == '\\') {
      dot_seen = false;
      // Two in a row (a network path's start) are fine; three are not.
      if (i >= 2 && s[i - 1] == '\\' && s[i - 2] == '\\') return 3;
      run = 0;
    } else if (c == ':') {
      if (i != 1) return 5;
      bool letter = (s[0] >= 'A' && s[0] <= 'Z') || (s[0] >= 'a' && s[0] <= 'z');
      if (!letter) return 4;
      run = 0;
    } else if (c == '*' || c == '<' || c == '>' || c == '?' || c == '|') {
      return 0;
    } else {
      ++run;
      if (dot_seen && run > 256) return 2;
    }
  }
  if (s[len - 1] == ':' || s[len - 1] == '\\') return 0;
  return -1;
}

}  // namespace vnk
