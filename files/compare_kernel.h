// Block comparison of the file content comparison: exact, or with the ASCII letters
// A to Z taken as a to z.
#pragma once

#include <cstddef>

#include "frame/ascii_kernel.h"

namespace vnk {

// True when the first n bytes of a and b are equal under the rule; every byte counts.
bool BlocksMatch(const unsigned char* a, const unsigned char* b, size_t n, bool exact);

}  // namespace vnk
