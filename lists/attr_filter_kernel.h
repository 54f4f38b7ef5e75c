// The attribute filter of the bulk listings (cFilesInDirToArray, cFilesInDirOnDisk).
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/result_codes.h"

namespace vnk {

// The five bits a filter looks at: read-only, hidden, system, archive, compressed.
constexpr uint32_t FILTER_BITS = ATTR_READONLY | ATTR_HIDDEN | ATTR_SYSTEM | ATTR_ARCHIVE | ATTR_COMPRESSED;

// The two filters with a meaning of their own: everything, and plain or archived files.
constexpr int16_t FILTER_EVERYTHING = 255;
constexpr int16_t FILTER_PLAIN_OR_ARCHIVE = 254;

// Whether a listing with this filter takes an entry with this attribute word (0 for a
// plain file). Folders are never taken. 255 takes everything; 254 plain files and any
// entry that agrees with archive in one filter bit; 1 to 127 any entry that agrees with
// the filter in at least one filter bit; a negative filter exactly the entries whose
// filter bits are those of its magnitude; 0 only plain files; every other value nothing.
bool FilterTakes(uint32_t attrib, int16_t filter);

}  // namespace vnk
