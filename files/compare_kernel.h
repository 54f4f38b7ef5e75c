// Block comparison of the file content comparison: exact, or with the ASCII letters
// A to Z taken as a to z.
#pragma once

#include <cstddef>

namespace vnk {

// True when the first n bytes of a and b are equal under the rule; every byte counts.
bool BlocksMatch(const unsigned char* a, const unsigned char* b, size_t n, bool exact);

// ASCII case folding shared by every case-insensitive comparison of the library:
// only A to Z change; bytes from 0x80 up are never letters.
inline unsigned char FoldAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

}  // namespace vnk
