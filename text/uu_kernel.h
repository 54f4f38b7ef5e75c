// The UU line codec: 45 data bytes per line at most, each group of three bytes written
// as four characters of 6 bits plus 32, a length character first and a LF last.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vnk {

constexpr size_t UU_LINE_BYTES = 45;
// Longest encoded line: the length character, 15 groups of four and the LF.
constexpr size_t UU_LINE_CHARS = 1 + 4 * (UU_LINE_BYTES / 3) + 1;
// Longest line a decoder meets: a length character of 63 bytes, 21 groups and the end.
constexpr size_t UU_MAX_LINE_CHARS = 1 + 4 * 21 + 1;

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

// Decodes the ceil(due / 3) groups of one line (4 characters each, after the length
// character) into exactly `due` bytes of out, as UuDecodeGroup does group by group;
// out must hold 3 * ceil(due / 3) bytes. Returns due.
size_t UuDecodeLine(const uint8_t* chars, size_t due, uint8_t* out);

// Encoding of a whole stream handed over in blocks of any size: the same characters as
// lines of 45 bytes encoded one after another, a short last line's last group padded
// with zero bytes. Whole lines are encoded straight from the blocks; only a line cut by
// a block boundary passes through the encoder's own buffer.
class UuEncoder {
 public:
  // Characters Feed may write for a block of n bytes.
  static constexpr size_t Room(size_t n) { return (n / UU_LINE_BYTES + 1) * UU_LINE_CHARS; }
  // Encodes every line the bytes so far complete; keeps the rest for the next call.
  // Returns the characters written to out.
  size_t Feed(const uint8_t* data, size_t n, char* out);
  // At the end of the input: the short last line, if any (at most UU_LINE_CHARS).
  size_t Finish(char* out);

 private:
  uint8_t line_[UU_LINE_BYTES] = {};
  size_t held_ = 0;
};

// Decoding of a whole stream handed over in blocks of any size, line by line: a length
// character (its value is the bytes due; 0 ends the data, and nothing after it is
// read), the groups that hold them, and exactly one more character for the line end,
// whatever it is. A line cut by a block boundary waits in the decoder for the rest.
class UuDecoder {
 public:
  // Bytes Feed may write for a block of n characters (a line gives at most 3 bytes per
  // 4 characters, and at most UU_MAX_LINE_CHARS - 1 characters wait from before).
  static constexpr size_t Room(size_t n) { return n + UU_MAX_LINE_CHARS; }
  // Decodes every line the characters so far complete; returns the bytes written.
  size_t Feed(const uint8_t* chars, size_t n, uint8_t* out);
  // At the end of the input: the line it cut short, each missing character taken as the
  // end of input mark (value 31), all its due bytes written (at most 63).
  size_t Finish(uint8_t* out);
  // A zero length was met: the data has ended, and Feed takes nothing more.
  bool ended() const { return ended_; }

 private:
  uint8_t held_[UU_MAX_LINE_CHARS];
  size_t held_n_ = 0;
  bool ended_ = false;
};

}  // namespace vnk
