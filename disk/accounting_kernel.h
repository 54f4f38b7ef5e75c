// The arithmetic of the size accounting: space a file occupies in whole clusters, the
// slack percentage, and the upper-cased file pattern of the recursive walks.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vnk {

// size rounded up to whole clusters; 0 for an empty file, and 0 when the cluster size
// is below 1 (a drive that reported no usable geometry allocates nothing).
double Allocation(uint64_t size, double cluster);

// (allocated - size) / allocated * 100, rounded to single precision and truncated toward
// zero, as the callers have always received it; -1 when nothing is allocated.
int32_t SlackPercent(double size, double allocated);

// The walks' pattern: letters a-z raised to A-Z, everything else kept. Patterns of up to
// SCAN_PATTERN_CHARS characters fit; a longer one is refused (false, out holding "").
constexpr size_t SCAN_PATTERN_CHARS = 255;
bool UpperPattern(const char* pattern, char (&out)[SCAN_PATTERN_CHARS + 1]);

}  // namespace vnk
