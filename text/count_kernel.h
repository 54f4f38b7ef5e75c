// Counting of the line count and statistics functions: CR bytes, and LF lines and
// words with the word state carried from one block to the next.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vnk {

// Number of bytes equal to c in the block.
size_t CountByte(const uint8_t* block, size_t n, uint8_t c);

// Lines (LF bytes) and words of a file fed block by block. A word is a stretch of word
// bytes; TAB, LF, VT, FF, CR and blank end one, every other byte (0x80 and up included)
// belongs to one. The state carries over, so a word split by a block boundary counts
// once, and a LF ends a word, as it ends a line.
class WordCounter {
 public:
  void Feed(const uint8_t* block, size_t n);
  uint64_t lines() const { return lines_; }
  uint64_t words() const { return words_; }

 private:
  uint64_t lines_ = 0;
  uint64_t words_ = 0;
  uint8_t in_word_ = 0;
};

// Whether a byte is white space for the word count.
bool IsWordBreak(uint8_t c);

}  // namespace vnk
