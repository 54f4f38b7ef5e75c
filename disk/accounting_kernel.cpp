// Allocation and slack arithmetic.
#include "disk/accounting_kernel.h"

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

}  // namespace vnk
