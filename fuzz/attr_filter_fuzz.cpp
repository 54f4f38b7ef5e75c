// The listings' attribute filter against its decision table.
#include "fuzz/fuzz_util.h"
#include "lists/attr_filter_kernel.h"

namespace {

bool Reference(uint32_t a, int16_t f) {
  const uint32_t bits = 0x827;
  auto any_agree = [&](uint32_t mask) {
    for (uint32_t b : {0x01u, 0x02u, 0x04u, 0x20u, 0x800u})
      if (((a & b) != 0) == ((mask & b) != 0)) return true;
    return false;
  };
  if (a & 0x10) return false;
  if (f == 255) return true;
  if (f == 254) return a == 0 || any_agree(0x20);
  if (f >= 1 && f <= 127) return any_agree(static_cast<uint32_t>(f));
  if (f < 0) {
    uint32_t mask = static_cast<uint32_t>(-static_cast<int32_t>(f));
    return ((a ^ mask) & bits) == 0;
  }
  if (f == 0) return a == 0;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  uint32_t attrib = in.ConsumeIntegral<uint32_t>();
  // Mostly attribute words made of real attribute bits.
  if (in.ConsumeBool()) attrib &= 0x9B7;
  int16_t filter = in.ConsumeIntegral<int16_t>();
  bool got = vnk::FilterTakes(attrib, filter);
  FUZZ_CHECK(got == Reference(attrib, filter), "attrib %#x filter %d", attrib, filter);
  return 0;
}
