// The Windows error to run-time error number lookup, against its table read plainly:
// a listed code gives its number, then the two ranges, then 22.
#include <map>

#include "frame/errno_kernel.h"
#include "fuzz/fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::map<uint32_t, int> table = [] {
    std::map<uint32_t, int> m;
    for (const vnk::ErrnoPair& p : vnk::ErrnoTable()) m.emplace(p.win_error, p.err);
    return m;
  }();
  FuzzedDataProvider in(data, size);
  uint32_t code = in.ConsumeIntegral<uint32_t>();
  // Small codes are the interesting ones; fold most inputs into the table's range.
  if (in.ConsumeBool()) code %= 2048;
  int want;
  auto it = table.find(code);
  if (it != table.end()) want = it->second;
  else if (code >= 19 && code <= 36) want = 13;
  else if (code >= 188 && code <= 202) want = 8;
  else want = 22;
  int got = vnk::WinErrorToErrno(code);
  FUZZ_CHECK(got == want, "code %u: got %d, want %d", code, got, want);
  return 0;
}
