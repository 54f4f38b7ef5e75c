// Joining drive, directory, file name and extension into one path, and the "does this
// path end in a separator" question asked character by character in a code page.
#pragma once

#include <cstddef>
#include <string_view>

#include "paths/split_kernel.h"

namespace vnk {

// True when the last character of text is a single-byte one equal to one of the bytes
// in seps: the trail byte of a double-byte character never counts, whatever its value.
bool EndsWithChar(std::string_view text, std::string_view seps, const LeadBytes& lead);

// Joins into out (capacity bytes, terminator included): the drive's first character and
// ":" when a drive is given; the directory, then "\" unless it already ends in "\" or
// "/"; the name; the extension, preceded by "." unless it begins with one. Returns the
// length, or -1 (out holding "") when the result does not fit.
int JoinPath(std::string_view drive, std::string_view dir, std::string_view name, std::string_view ext,
             const LeadBytes& lead, char* out, size_t capacity);

}  // namespace vnk
