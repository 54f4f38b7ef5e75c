// Attribute routines shared by the attribute exports and the deletions.
#pragma once

#include <cstdint>

#include "frame/result_codes.h"

namespace vnk {

// Each reads the attribute word first and answers 0 when it cannot; otherwise -1 when
// the change (or, for the test, the check) succeeded, else 0.
int16_t AttributeSet(const char* path, uint32_t mask);
// Clears the mask's bits; the complement is taken in 16 bits, so a non-negative mask
// also clears bits 16 to 31 and a sign-extended negative one keeps them.
int16_t AttributeClear(const char* path, uint32_t mask);
// -1 when every bit of the mask is set (a mask of 0: for every existing path).
int16_t AttributeTest(const char* path, uint32_t mask);

// The low 16 bits of the attribute word: the bits a clearing works within.
constexpr uint32_t ATTR_LOW_WORD = 0x0000FFFF;

// The four bits cFileSetAllAttrib sets and cFileResetAllAttrib clears.
constexpr uint32_t ATTR_ALL_FOUR = ATTR_READONLY | ATTR_HIDDEN | ATTR_SYSTEM | ATTR_ARCHIVE;

// The protective and ordinary bits the "All" deletions strip before deleting: read-only,
// hidden, system, archive, normal and temporary.
constexpr uint32_t ATTR_STRIP_FOR_DELETE = 0x1A7;

}  // namespace vnk
