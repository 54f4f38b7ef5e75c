// Wildcard matching of one file name against a name pattern with "*" and "?", byte for
// byte and case-sensitive.
#pragma once

#include <cstdint>

namespace vnk {

// -1 when the name matches the pattern, else 0. Rules callers rely on:
//  - letters compare as bytes: *.TXT does not match readme.txt;
//  - "*" takes the character after it along: in "**" the second "*" is an ordinary
//    character that the name must contain at that place;
//  - "?" is exactly one character and never the end of the name (A? does not match A);
//  - a trailing "*" takes any rest, the empty one included; *.* needs a dot;
//  - the empty pattern matches only the empty name.
int16_t WildcardMatch(const char* name, const char* pattern);

}  // namespace vnk
