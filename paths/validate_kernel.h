// File name validation by the characters alone: can this text name a file to create?
#pragma once

#include <cstdint>

#include "paths/path_kernel.h"

namespace vnk {

// -1 for an acceptable path; otherwise what is wrong: 0 empty, too long (over 516),
// a forbidden character, a second dot in a component, a leading dot, or ending in a
// colon or backslash; 1 a name part before a dot over 256 characters; 2 an extension
// over 256; 3 three backslashes in a row; 4 a colon after a non-letter; 5 a colon
// anywhere but the second position; 6 a dot right after a backslash or colon.
// Lengths count units: bytes, or the UTF-16 units of UTF-8 text (a twin's call), whose
// whole path may then have up to 32,767 of them.
int16_t ValidateFileName(const char* text, Units units = Units::kBytes);

// ValidateFileName's answer for an acceptable path.
constexpr int16_t NAME_VALID = -1;

}  // namespace vnk
