// The accounting arithmetic: allocations are whole clusters that hold the size, totals
// of a set of files give a slack between 0 and 100 (or -1 with nothing allocated), and
// the walks' pattern is the caller's with its letters folded, refused beyond 255
// characters, and a name matches it whatever the case of the name's letters.
#include <cmath>

#include "disk/accounting_kernel.h"
#include "fuzz/fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  // Cluster sizes as drives report them: sector size times sectors per cluster, each a
  // 32-bit count; now and then a value no drive reports (0, negative, fractional).
  double cluster;
  switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: cluster = static_cast<double>(in.ConsumeIntegral<uint32_t>()) * in.ConsumeIntegral<uint32_t>(); break;
    case 1: cluster = static_cast<double>(512u << in.ConsumeIntegralInRange<int>(0, 10)); break;
    case 2: cluster = -1.0; break;
    default: cluster = in.ConsumeFloatingPoint<double>(); break;
  }
  int files = in.ConsumeIntegralInRange<int>(0, 20);
  double size_total = 0, alloc_total = 0;
  for (int i = 0; i < files; ++i) {
    uint64_t bytes = in.ConsumeBool() ? in.ConsumeIntegralInRange<uint64_t>(0, 1u << 20) : in.ConsumeIntegral<uint64_t>();
    double a = vnk::Allocation(bytes, cluster);
    if (!(cluster >= 1.0) || bytes == 0) {
      FUZZ_CHECK(a == 0.0, "nothing allocated without a usable cluster size");
      continue;
    }
    // Beyond 2^53 bytes (8 PiB) doubles no longer hold every byte count; the totals are
    // then as exact as a Double can be, which is all a caller receives anyway.
    if (bytes >= (uint64_t{1} << 53)) continue;
    FUZZ_CHECK(a >= static_cast<double>(bytes), "allocation %.17g below the size %llu (cluster %.17g)", a, (unsigned long long)bytes, cluster);
    if (cluster < 18446744073709551616.0) {
      double c = std::floor(cluster);
      FUZZ_CHECK(std::fmod(a, c) == 0.0 || a >= 9007199254740992.0, "not whole clusters");
      FUZZ_CHECK(a - static_cast<double>(bytes) < c || a >= 9007199254740992.0, "a cluster too many");
    }
    size_total += static_cast<double>(bytes);
    alloc_total += a;
  }
  if (cluster >= 1.0 && alloc_total < 1e300) {
    int32_t slack = vnk::SlackPercent(size_total, alloc_total);
    if (alloc_total == 0) FUZZ_CHECK(slack == -1, "slack without allocation");
    else FUZZ_CHECK(slack >= 0 && slack <= 100, "slack %d", slack);
  }

  std::string name = in.ConsumeRandomLengthString(300);
  std::string pattern = in.ConsumeRemainingBytesAsString();
  // A pattern over 255 characters needs no terminator: no byte past the 256th is read.
  if (pattern.size() <= vnk::SCAN_PATTERN_CHARS && pattern.find('\0') == std::string::npos) pattern.push_back('\0');
  vnk::fuzz::ExactBytes raw(pattern);
  char out[vnk::SCAN_PATTERN_CHARS + 1];
  bool ok = vnk::FoldedPattern(raw.data(), out);
  std::string arg = pattern.substr(0, pattern.find('\0'));
  if (arg.size() > vnk::SCAN_PATTERN_CHARS) {
    FUZZ_CHECK(!ok && out[0] == '\0', "a long pattern must be refused");
  } else {
    FUZZ_CHECK(ok && strlen(out) == arg.size(), "pattern length");
    for (size_t i = 0; i < arg.size(); ++i) {
      char c = arg[i];
      FUZZ_CHECK(out[i] == ((c >= 'A' && c <= 'Z') ? c + 32 : c), "pattern byte %zu", i);
    }
    std::string flipped = name;
    for (char& c : flipped)
      if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) c ^= 0x20;
    FUZZ_CHECK(vnk::WalkNameMatches(name.c_str(), out) == vnk::WalkNameMatches(flipped.c_str(), out),
               "[%s] and [%s] differ only in case", name.c_str(), flipped.c_str());
  }
  return 0;
}
