// ValidateFileName against the rule transcribed step by step, including texts longer
// than it may look at: those come without a terminator within reach, so a read past the
// 517th byte trips AddressSanitizer.
#include "fuzz/fuzz_util.h"
#include "paths/validate_kernel.h"

namespace {

int16_t Reference(const std::string& s) {
  size_t len = s.size();
  if (len == 0 || len > 516) return 0;
  size_t start = (len >= 4 && s.compare(0, 3, "..\\") == 0) ? 3 : 0;
  bool dot_seen = false;
  int run = 0;
  auto letter = [](unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  for (size_t i = start; i < len; ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    switch (c) {
      case '.':
        if (dot_seen || i == 0) return 0;
        if (s[i - 1] == '\\' || s[i - 1] == ':') return 6;
        if (run > 256) return 1;
        dot_seen = true;
        run = 0;
        continue;
      case '"': case '/': return 0;
      case '\\':
        dot_seen = false;
        if (i >= 2 && s[i - 1] == '\\' && s[i - 2] == '\\') return 3;
        run = 0;
        continue;
      case ':':
        if (i != 1) return 5;
        if (!letter(static_cast<unsigned char>(s[0]))) return 4;
        run = 0;
        continue;
      case '*': case '<': case '>': case '?': case '|': return 0;
      default:
        if (c < 0x20) return 0;
        ++run;
        if (dot_seen && run > 256) return 2;
    }
  }
  char last = s[len - 1];
  return (last == ':' || last == '\\') ? 0 : -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::string arg = text.substr(0, text.find('\0'));
  int16_t got;
  if (arg.size() > 516 && text.find('\0') == std::string::npos) {
    vnk::fuzz::ExactBytes raw(text);  // no terminator anywhere
    got = vnk::ValidateFileName(raw.data());
    FUZZ_CHECK(got == 0, "a text over 516 characters must be refused, got %d", got);
    return 0;
  }
  vnk::fuzz::ExactString s(arg);
  got = vnk::ValidateFileName(s.c_str());
  int16_t want = Reference(arg);
  FUZZ_CHECK(got == want, "[%s]: got %d, want %d", arg.c_str(), got, want);
  return 0;
}
