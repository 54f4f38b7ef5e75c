// Block transforms of the whole-file text functions: blanks to TABs and back, ASCII case,
// and the byte substitution chain. Each works on one block alone;
// nothing carries from one block to the next, which callers can observe (a run of blanks
// split by a block boundary is two runs).
#pragma once

#include <cstddef>
#include <cstdint>

namespace vnk {

// Largest block the TAB expansion may produce; a block whose expansion could pass it
// is refused as a whole.
constexpr size_t EXPAND_LIMIT = 0x10000;

// Replaces every run of blanks by run / tab TABs and then run % tab blanks; tab >= 2.
// Writes at most n bytes to out, which must hold n bytes and not overlap in; returns
// the number written.
size_t CompressBlanks(const uint8_t* in, size_t n, uint8_t* out, uint32_t tab);

// Whether a block of n bytes holding `tabs` TABs may be expanded at this tab size. The
// test charges each TAB its own byte on top of its expansion, so it is stricter than
// the exact expanded length; it never wraps, however large the tab size.
bool ExpansionFits(size_t n, size_t tabs, uint32_t tab);

// Number of TAB bytes in the block.
size_t CountTabs(const uint8_t* in, size_t n);

// Replaces every TAB by exactly `tab` blanks, whatever column it stands in. out must
// hold n - tabs + tabs * tab bytes (ExpansionFits guarantees EXPAND_LIMIT is enough) and
// must not overlap in. Returns the bytes written.
size_t ExpandTabs(const uint8_t* in, size_t n, size_t tabs, uint8_t* out, uint32_t tab);

// ASCII case, in place: only a-z (upper) or A-Z (lower) change; bytes from 0x80 up
// never do.
void UpperAscii(uint8_t* block, size_t n);
void LowerAscii(uint8_t* block, size_t n);

// A byte-to-byte table for the substitution chain: pairs are applied in order, and a
// byte changed by pair i is compared again with the later pairs (never the earlier
// ones), so with from "ab" and to "bc" both a and b become c.
struct ByteMap {
  uint8_t to[256];
};
ByteMap SubstitutionMap(const uint8_t* from, const uint8_t* to, size_t pairs);
void ApplyMap(const ByteMap& map, uint8_t* block, size_t n);

}  // namespace vnk
