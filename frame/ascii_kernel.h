// ASCII letter case: the one folding rule of every case-insensitive question the library
// answers (names, patterns, file contents, sort keys). Only A to Z and a to z are
// letters; bytes from 0x80 up never change, whatever the code page.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vnk {

constexpr bool IsAsciiUpper(unsigned char c) { return static_cast<unsigned char>(c - 'A') < 26; }
constexpr bool IsAsciiLower(unsigned char c) { return static_cast<unsigned char>(c - 'a') < 26; }
constexpr bool IsAsciiLetter(unsigned char c) { return IsAsciiUpper(c) || IsAsciiLower(c); }

// A to Z taken as a to z; case-insensitive comparisons compare these values.
constexpr unsigned char FoldAscii(unsigned char c) {
  return static_cast<unsigned char>(c + (IsAsciiUpper(c) ? 'a' - 'A' : 0));
}

// a to z taken as A to Z.
constexpr unsigned char UpperAscii(unsigned char c) {
  return static_cast<unsigned char>(c - (IsAsciiLower(c) ? 'a' - 'A' : 0));
}

// FoldAscii of every byte value, for loops that look bytes up in a table.
constexpr std::array<uint8_t, 256> kFoldedAscii = [] {
  std::array<uint8_t, 256> t{};
  for (int c = 0; c < 256; ++c) t[c] = FoldAscii(static_cast<unsigned char>(c));
  return t;
}();

// True when the first n bytes of a and b are equal once folded.
bool SameBytesIgnoringCase(const char* a, const char* b, size_t n);

// True when two NUL-terminated names are equal once folded (the same length included).
bool SameNameIgnoringCase(const char* a, const char* b);

// Compares two NUL-terminated strings byte by byte after folding, as unsigned values:
// negative, zero or positive as a sorts before, with or after b.
int CompareIgnoringCase(const char* a, const char* b);

}  // namespace vnk
