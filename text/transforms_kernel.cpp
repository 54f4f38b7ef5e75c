// Block transforms of the whole-file text functions.
#include "text/transforms_kernel.h"

#include <algorithm>
#include <cstring>

namespace vnk {

namespace {

// Position of the next byte equal to c at or after i, or n.
size_t Next(const uint8_t* in, size_t i, size_t n, uint8_t c) {
  if (i >= n) return n;
  const void* hit = std::memchr(in + i, c, n - i);
  return hit ? static_cast<size_t>(static_cast<const uint8_t*>(hit) - in) : n;
}

}  // namespace

size_t CompressBlanks(const uint8_t* in, size_t n, uint8_t* out, uint32_t tab) {
  size_t i = 0, o = 0;
  while (i < n) {
    // Text between runs goes across whole; only the runs themselves are looked at.
    size_t run = Next(in, i, n, ' ');
    std::memcpy(out + o, in + i, run - i);
    o += run - i;
    if (run == n) break;
    size_t end = run;
    while (end < n && in[end] == ' ') ++end;
    size_t blanks = end - run;
    size_t tabs = blanks / tab, rest = blanks % tab;
    std::memset(out + o, '\t', tabs);
    o += tabs;
    std::memset(out + o, ' ', rest);
    o += rest;
    i = end;
  }
  return o;
}

bool ExpansionFits(size_t n, size_t tabs, uint32_t tab) {
  return static_cast<uint64_t>(n) + static_cast<uint64_t>(tab) * tabs <= EXPAND_LIMIT;
}

size_t CountTabs(const uint8_t* in, size_t n) { return static_cast<size_t>(std::count(in, in + n, uint8_t{'\t'})); }

size_t ExpandTabs(const uint8_t* in, size_t n, size_t tabs, uint8_t* out, uint32_t tab) {
  if (tabs == 0) {
    std::memcpy(out, in, n);
    return n;
  }
  size_t i = 0, o = 0;
  while (i < n) {
    size_t at = Next(in, i, n, '\t');
    std::memcpy(out + o, in + i, at - i);
    o += at - i;
    if (at == n) break;
    std::memset(out + o, ' ', tab);
    o += tab;
    i = at + 1;
  }
  return o;
}

// Branch-free so that the compiler turns both loops into vector code.
void UpperAscii(uint8_t* block, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    uint8_t c = block[i];
    block[i] = static_cast<uint8_t>(c - ((static_cast<uint8_t>(c - 'a') < 26) << 5));
  }
}

void LowerAscii(uint8_t* block, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    uint8_t c = block[i];
    block[i] = static_cast<uint8_t>(c + ((static_cast<uint8_t>(c - 'A') < 26) << 5));
  }
}

ByteMap SubstitutionMap(const uint8_t* from, const uint8_t* to, size_t pairs) {
  // Running every byte value through the chain once gives the table; the file's bytes
  // then take one lookup each, however many pairs there are.
  ByteMap map;
  for (int v = 0; v < 256; ++v) {
    uint8_t c = static_cast<uint8_t>(v);
    for (size_t i = 0; i < pairs; ++i)
      if (c == from[i]) c = to[i];
    map.to[v] = c;
  }
  return map;
}

void ApplyMap(const ByteMap& map, uint8_t* block, size_t n) {
  for (size_t i = 0; i < n; ++i) block[i] = map.to[block[i]];
}

}  // namespace vnk
