// The lexical rules of the current call: the lead bytes of its encoding and what its
// lengths count. An ANSI call reads its names in the ANSI code page, byte by byte with
// its double-byte characters; a twin's call reads UTF-8, in which no byte of a
// multi-byte character is ever a separator, a colon or a dot (no lead bytes), and counts
// UTF-16 units as VB's Len does.
#pragma once

#include "paths/path_kernel.h"
#include "paths/split_kernel.h"

namespace vnk {

// The lead bytes of the call's encoding.
const LeadBytes& CallLeadBytes();

// What the lexical path functions' lengths count: bytes for an ANSI call, UTF-16 units
// for a twin's.
Units CallUnits();

}  // namespace vnk
