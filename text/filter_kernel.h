// Byte membership of the filters: which bytes of a block belong to a caller's set of
// characters, and the copy that keeps or drops them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vnk {

// Membership is exact byte equality with any byte of the set (any value, NUL included;
// duplicates are harmless).
struct ByteSet {
  uint8_t has[256];
};
ByteSet MakeByteSet(const uint8_t* chars, size_t n);

// Copies to out the bytes whose membership equals `members` (true keeps the bytes in
// the set, false drops them), in order; returns how many were kept (0 to n). out may be
// in itself.
size_t KeepBytes(const ByteSet& set, bool members, const uint8_t* in, size_t n, uint8_t* out);

}  // namespace vnk
