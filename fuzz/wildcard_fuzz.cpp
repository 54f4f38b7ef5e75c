// WildcardMatch against the matching rule written out step by step (memoised, so that
// patterns full of "*" stay cheap), with both strings in exact-size blocks.
#include <vector>

#include "fuzz/fuzz_util.h"
#include "scan/wildcard_kernel.h"

namespace {

struct Reference {
  const std::string& name;
  const std::string& pattern;
  std::vector<signed char> memo;  // 0 unknown, 1 match, 2 no match

  Reference(const std::string& n, const std::string& p)
      : name(n), pattern(p), memo((n.size() + 1) * (p.size() + 1), 0) {}

  bool Match(size_t n, size_t p) {
    signed char& m = memo[n * (pattern.size() + 1) + p];
    if (m == 0) m = Step(n, p) ? 1 : 2;
    return m == 1;
  }

  bool Step(size_t n, size_t p) {
    if (p == pattern.size()) return n == name.size();
    if (pattern[p] == '*') {
      if (p + 1 == pattern.size()) return true;
      char c = pattern[p + 1];
      for (size_t i = n; i < name.size(); ++i)
        if ((name[i] == c || c == '?') && Match(i + 1, p + 2)) return true;
      return false;
    }
    if (n == name.size()) return false;
    if (pattern[p] == '?' || pattern[p] == name[n]) return Match(n + 1, p + 1);
    return false;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  std::string pattern = vnk::fuzz::TextArg(in, 300);
  std::string name = vnk::fuzz::TextArg(in, 300);
  vnk::fuzz::ExactString n(name), p(pattern);
  int16_t got = vnk::WildcardMatch(n.c_str(), p.c_str());
  FUZZ_CHECK(got == -1 || got == 0, "result %d", got);
  Reference ref(name, pattern);
  bool want = ref.Match(0, 0);
  FUZZ_CHECK((got == -1) == want, "name [%s] pattern [%s]: got %d", name.c_str(), pattern.c_str(), got);
  // A pattern without wildcards matches exactly itself.
  if (pattern.find_first_of("*?") == std::string::npos)
    FUZZ_CHECK(want == (name == pattern), "literal pattern");
  return 0;
}
