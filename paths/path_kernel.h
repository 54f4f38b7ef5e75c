// The path primitives every path rule is written with: what a separator is, how to step
// over one character of a code page, and how a folder and a name become one path. The
// code pages are the ANSI ones (a lead byte and its trail byte form one character) and
// UTF-8, whose lead-byte table is empty because no byte of a multi-byte character is
// ever a separator, a colon or a dot.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "paths/split_kernel.h"

namespace vnk {

// "\" and "/" both separate the components of a path.
constexpr bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The bytes of the character at text[i]: 2 for a lead byte with a byte after it, else 1.
inline size_t CharLength(std::string_view text, size_t i, const LeadBytes& lead) {
  return lead[static_cast<unsigned char>(text[i])] && i + 1 < text.size() ? 2 : 1;
}

// True when the last character of path is a separator (never the trail byte of a
// double-byte character).
bool EndsWithSeparator(std::string_view path, const LeadBytes& lead);

// folder, then "\" unless folder is empty or already ends with a separator, then name:
// the full name of an entry of a folder.
std::string JoinFolderAndName(std::string_view folder, std::string_view name, const LeadBytes& lead);

}  // namespace vnk
