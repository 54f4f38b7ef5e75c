// File name validation.
#include "paths/validate_kernel.h"

#include <cstring>

#include "frame/ascii_kernel.h"

namespace vnk {

namespace {
// The longest path accepted, and the longest name part or extension beside a dot.
constexpr size_t kMaxChars = 516;
constexpr size_t kMaxWideChars = 32767;
constexpr int16_t kMaxPartChars = 256;
}  // namespace

int16_t ValidateFileName(const char* text, Units units) {
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  // A twin's path may be as long as the platform's long form allows; a unit of UTF-8
  // text takes at most three bytes.
  const size_t max_units = units == Units::kBytes ? kMaxChars : kMaxWideChars;
  const size_t max_bytes = units == Units::kBytes ? kMaxChars : 3 * kMaxWideChars;
  size_t len = strnlen(text, max_bytes + 1);
  if (len == 0 || len > max_bytes || TextUnits(std::string_view(text, len), units) > max_units) return 0;

  // Exactly one leading parent reference is allowed.
  size_t start = (len >= 4 && s[0] == '.' && s[1] == '.' && s[2] == '\\') ? 3 : 0;
  bool dot_seen = false;
  int16_t run = 0;  // characters since the last backslash, colon or dot
  for (size_t i = start; i < len; ++i) {
    unsigned char c = s[i];
    if (c == '.') {
      if (dot_seen || i == 0) return 0;
      if (s[i - 1] == '\\' || s[i - 1] == ':') return 6;
      if (run > kMaxPartChars) return 1;
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
      if (!IsAsciiLetter(s[0])) return 4;
      run = 0;
    } else if (c == '*' || c == '<' || c == '>' || c == '?' || c == '|') {
      return 0;
    } else {
      run = static_cast<int16_t>(run + ByteUnits(c, units));
      if (dot_seen && run > kMaxPartChars) return 2;
    }
  }
  if (s[len - 1] == ':' || s[len - 1] == '\\') return 0;
  return NAME_VALID;
}

}  // namespace vnk
