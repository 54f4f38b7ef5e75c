// Byte searches that every text routine runs over whole blocks: the runtime's memchr
// and memcmp, 16 bytes at a time where the processor allows. (The runtime under some
// hosts looks at one byte per step, which made these calls the largest cost of a pass.)
#pragma once

#include <cstddef>

namespace vnk {

// The first byte equal to c in p[0, n), or null; as memchr.
const char* FindByte(const char* p, size_t n, char c);
inline char* FindByte(char* p, size_t n, char c) { return const_cast<char*>(FindByte(static_cast<const char*>(p), n, c)); }
inline const unsigned char* FindByte(const unsigned char* p, size_t n, unsigned char c) {
  return reinterpret_cast<const unsigned char*>(FindByte(reinterpret_cast<const char*>(p), n, static_cast<char>(c)));
}

// Whether a[0, n) and b[0, n) hold the same bytes; as memcmp(...) == 0.
bool SameBytes(const void* a, const void* b, size_t n);

}  // namespace vnk
