// One-dimensional arrays of host strings as the listings and the string array file use
// them: bounds read once, elements replaced one by one, the array never resized.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string_view>

namespace vnk {

// The first results of the functions that write a list or an array file: nothing to do
// (an empty name, an unusable array or pattern), a file name that cannot be used, and an
// old file that could not be removed.
constexpr int16_t LIST_NOTHING = -1;
constexpr int16_t LIST_BAD_NAME = -2;
constexpr int16_t LIST_CANT_REMOVE = -3;

// The bounds of dimension 1 of a one-dimensional array of strings. False for anything
// else (no array, more dimensions, elements that are not strings): such an array is
// never touched.
bool StringArrayBounds(SAFEARRAY* array, LONG* lower, LONG* upper);

// Replaces element index with a new string of these bytes; the array keeps its own copy.
bool PutString(SAFEARRAY* array, LONG index, std::string_view text);

}  // namespace vnk
