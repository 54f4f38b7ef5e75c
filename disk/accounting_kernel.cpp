// Allocation and slack arithmetic.
#include "disk/accounting_kernel.h"

#include <cstring>

#include "frame/ascii_kernel.h"
#include "scan/wildcard_kernel.h"

namespace vnk {

double Allocation(uint64_t size, double cluster) {
  if (!(cluster >= 1.0) || size == 0) return 0.0;
  // Cluster sizes are whole numbers of bytes (sector size times sectors per cluster), so
  // the rounding is done in integers: a quotient in floating point could round onto a
  // whole number and lose the partial cluster.
  if (cluster < 18446744073709551616.0) {
    uint64_t c = static_cast<uint64_t>(cluster);
    uint64_t clusters = size / c + (size % c != 0 ? 1 : 0);
    return static_cast<double>(clusters) * static_cast<double>(c);
  }
  return cluster;  // one cluster holds any 64-bit size
}

int32_t SlackPercent(double size, double allocated) {
  if (allocated == 0.0) return -1;
  float percent = static_cast<float>((allocated - size) / allocated * 100.0);
  return static_cast<int32_t>(percent);
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
  // A folder entry's name is at most 259 bytes; a longer text is no entry name.
  char folded[260];
  return FoldInto(name, folded, sizeof folded) && WildcardMatch(folded, folded_pattern) == -1;
}

}  // namespace vnk
