// Shortening a path for display in a field of limited width.
#pragma once

#include <cstdint>
#include <string>

#include "paths/path_kernel.h"
#include "paths/split_kernel.h"

namespace vnk {

// The smallest width served.
constexpr int32_t TRUNCATE_MIN_WIDTH = 25;

// The path itself when it fits the width; otherwise drive, file name and extension kept
// whole, the directory components that still fit kept from the left, and the gap shown
// as dots before the file name, padded to exactly the width. The empty string when the
// path is not a valid file name, when the width is below 25, or when a path that does not
// fit has a part over 255 characters or asks for a width over 255.
// Widths and part lengths count units: bytes, or UTF-16 units of UTF-8 text.
std::string TruncatePath(const char* path, int32_t width, const LeadBytes& lead, Units units = Units::kBytes);

}  // namespace vnk
