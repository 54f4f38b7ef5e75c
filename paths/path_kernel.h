// The path primitives every path rule is written with: what a separator is, how to step
// over one character of a code page, and how a folder and a name become one path. The
// code pages are the ANSI ones (a lead byte and its trail byte form one character) and
// UTF-8, whose lead-byte table is empty because no byte of a multi-byte character is
// ever a separator, a colon or a dot.
#pragma once

#include <cstddef>
#include <cstdint>
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

// What a length counts: bytes (an ANSI call: a double-byte character is two), or the
// UTF-16 units of UTF-8 text (a twin's call: what VB's Len gives, a character beyond the
// Basic Multilingual Plane two).
enum class Units : uint8_t { kBytes, kUtf16 };

// The units one byte adds: in UTF-8, a continuation byte none and a four-byte
// character's first byte two.
constexpr unsigned ByteUnits(unsigned char c, Units units) {
  if (units == Units::kBytes) return 1;
  return (c & 0xC0) == 0x80 ? 0 : c >= 0xF0 ? 2 : 1;
}

// The length of text in units.
size_t TextUnits(std::string_view text, Units units);

// True when the last character of path is a separator (never the trail byte of a
// double-byte character).
bool EndsWithSeparator(std::string_view path, const LeadBytes& lead);

// folder, then "\" unless folder is empty or already ends with a separator, then name:
// the full name of an entry of a folder.
std::string JoinFolderAndName(std::string_view folder, std::string_view name, const LeadBytes& lead);

}  // namespace vnk
