// Block comparison against a byte-by-byte reading of the rule, with both blocks in
// exact-size heap blocks so that the eight-byte steps never read past either.
#include "files/compare_kernel.h"
#include "fuzz/fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  bool exact = in.ConsumeBool();
  std::string a = in.ConsumeRandomLengthString(4096);
  // The second block: the first with a few changes (case flips, other bytes), so that
  // equal and nearly equal pairs are common.
  std::string b = a;
  int edits = in.ConsumeIntegralInRange<int>(0, 4);
  for (int e = 0; e < edits && !b.empty(); ++e) {
    size_t at = in.ConsumeIntegralInRange<size_t>(0, b.size() - 1);
    if (in.ConsumeBool()) b[at] ^= 0x20;
    else b[at] = static_cast<char>(in.ConsumeIntegral<uint8_t>());
  }
  size_t n = in.ConsumeBool() ? a.size() : in.ConsumeIntegralInRange<size_t>(0, a.size());
  vnk::fuzz::ExactBytes x(a.substr(0, n)), y(b.substr(0, n));
  bool got = vnk::BlocksMatch(x.bytes(), y.bytes(), n, exact);
  bool want = true;
  for (size_t i = 0; i < n && want; ++i) {
    unsigned char p = x.bytes()[i], q = y.bytes()[i];
    want = exact ? p == q : vnk::FoldAscii(p) == vnk::FoldAscii(q);
  }
  FUZZ_CHECK(got == want, "n %zu exact %d: got %d", n, exact, got);
  for (int c = 0; c < 256; ++c) {
    unsigned char f = vnk::FoldAscii(static_cast<unsigned char>(c));
    FUZZ_CHECK(f == ((c >= 'A' && c <= 'Z') ? c + 32 : c), "fold %d", c);
  }
  return 0;
}
