// The UU line codec: 45 data bytes per line at most, each group of three bytes written
// as four characters of 6 bits plus 32, a length character first and a LF last.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vnk {

constexpr size_t UU_LINE_BYTES = 45;
// Longest encoded line: the length character, 15 groups of four and the LF.
constexpr size_t UU_LINE_CHARS = 1 + 4 * (UU_LINE_BYTES / 3) + 1;

// Encodes one line of n data bytes (1 to 45). The last group takes its missing bytes
// from `data` as it stands, so data must hold 3 * ceil(n / 3) readable bytes; a decoder
// ignores them. Writes at most UU_LINE_CHARS characters to out; returns their number.
size_t UuEncodeLine(const uint8_t* data, size_t n, char* out);

// The 6-bit value a character stands for: a blank and "`" both stand for 0. The end of
// input mark (-1) stands for 31, which is what a character missing at the end gives.
constexpr uint8_t UuValue(int ch) { return static_cast<uint8_t>((ch + 32) & 63); }

// Decodes the group of values e, f, g, h into the first `due` bytes (1 to 3) of out;
// returns how many bytes it wrote (the smaller of due and 3).
size_t UuDecodeGroup(uint8_t e, uint8_t f, uint8_t g, uint8_t h, size_t due, uint8_t* out);

}  // namespace vnk
