// The arithmetic of the size accounting: space a file occupies in whole clusters, the
// slack percentage, and the file-name matching of the recursive walks.
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

// The walks' pattern with its letters folded (A-Z taken as a-z, nothing else changed), so
// that it matches names in either case as every other pattern of the library does.
// Patterns of up to SCAN_PATTERN_CHARS characters fit; a longer one is refused (false,
// out holding "").
constexpr size_t SCAN_PATTERN_CHARS = 255;
bool FoldedPattern(const char* pattern, char (&out)[SCAN_PATTERN_CHARS + 1]);

// Whether a file name passes the walks' test: the empty folded pattern takes every name;
// otherwise the name, folded the same way, must match the pattern with "*" and "?".
bool WalkNameMatches(const char* name, const char* folded_pattern);

}  // namespace vnk
