// Wildcard matching of one file name against a name pattern with "*" and "?", byte for
// byte and case-sensitive; and the library's own file-name test built on it, which the
// recursive accounting and the deletions share.
#pragma once

#include <cstddef>
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

// A file-name pattern with its letters folded (A-Z taken as a-z, nothing else changed), so
// that it matches names in either case as every other pattern of the library does.
// Patterns of up to SCAN_PATTERN_CHARS characters fit; a longer one is refused (false,
// out holding "").
constexpr size_t SCAN_PATTERN_CHARS = 255;
bool FoldedPattern(const char* pattern, char (&out)[SCAN_PATTERN_CHARS + 1]);

// Whether a file's long name passes the library's own name test: the empty folded pattern
// takes every name; otherwise the name, folded the same way, must match the pattern with
// "*" and "?". Only the long name is ever asked, never a short (8.3) alias, so "*.htm"
// does not take report.html nor "*.bak" ledger.bakery.
bool WalkNameMatches(const char* name, const char* folded_pattern);

}  // namespace vnk
