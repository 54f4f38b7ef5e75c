// The arithmetic of the size accounting: space a file occupies in whole clusters, the
// slack percentage. (The walks' file-name matching is scan/wildcard_kernel.h's.)
#pragma once

#include <cstddef>
#include <cstdint>

#include "scan/wildcard_kernel.h"

namespace vnk {

// size rounded up to whole clusters; 0 for an empty file, and 0 when the cluster size
// is below 1 (a drive that reported no usable geometry allocates nothing).
double Allocation(uint64_t size, double cluster);

// (allocated - size) / allocated * 100, rounded to single precision and truncated toward
// zero, as the callers have always received it; -1 when nothing is allocated.
int32_t SlackPercent(double size, double allocated);

}  // namespace vnk
