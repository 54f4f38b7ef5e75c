// The attribute filter of the bulk listings.
#include "lists/attr_filter_kernel.h"

namespace vnk {
namespace {

// At least one filter bit in the same state (both set or both clear). A mask without the
// compressed bit therefore agrees with every uncompressed entry: callers rely on filters
// 1 to 127 listing all ordinary files and differing only over compressed ones.
bool AnyAgree(uint32_t attrib, uint32_t mask) { return (~(attrib ^ mask) & FILTER_BITS) != 0; }

// Every filter bit in the same state.
bool ExactAgree(uint32_t attrib, uint32_t mask) { return ((attrib ^ mask) & FILTER_BITS) == 0; }

}  // namespace

bool FilterTakes(uint32_t attrib, int16_t filter) {
  if (attrib & ATTR_DIRECTORY) return false;
  if (filter == FILTER_EVERYTHING) return true;
  if (filter == FILTER_PLAIN_OR_ARCHIVE) return attrib == 0 || AnyAgree(attrib, ATTR_ARCHIVE);
  if (filter >= 1 && filter <= 127) return AnyAgree(attrib, static_cast<uint32_t>(filter));
  // The magnitude in 32 bits: -32768 gives the mask 0x8000, which no filter bit shares.
  if (filter < 0) return ExactAgree(attrib, static_cast<uint32_t>(-static_cast<int32_t>(filter)));
  if (filter == 0) return attrib == 0;
  return false;
}

}  // namespace vnk
