// The lexical rules about paths that the library's file questions share: how long a path
// or a name may be, wildcards, a bare drive, roots, and the folder part of a pattern.
// Nothing here asks the file system.
#pragma once

#include <cstddef>
#include <string_view>

#include "frame/result_codes.h"
#include "paths/split_kernel.h"

namespace vnk {

// The plain copy and the in-place rewrite take names of at most 255 characters.
constexpr size_t NAME_BUFFER_CHARS = 255;

// True when text has at most limit characters. No more than limit + 1 bytes are read,
// so an arbitrarily long argument is refused without walking it.
bool FitsChars(const char* text, size_t limit);

// The path fits the library's path buffers: 259 characters and the terminator.
inline bool FitsPathBuffer(const char* path) { return FitsChars(path, MAX_PATH_CHARS); }

// The name fits the 255-character name buffers.
inline bool FitsNameBuffer(const char* name) { return FitsChars(name, NAME_BUFFER_CHARS); }

// The name holds a "*" or a "?".
bool HasWildcards(const char* name);

// Two characters, the second a colon ("C:", but also "1:"): a drive alone, which names
// that drive's current folder rather than a file.
bool IsBareDrive(const char* name);
bool IsBareDrive(std::string_view name);

// The names a file status query refuses: wildcards or a bare drive. The size, date and
// drive questions refuse them alike, whichever runtime the library runs on.
bool StatusQueryRefuses(const char* name);

// A drive's root ("C:\" or "C:/") or a network share's ("\\server\share" with or without
// its trailing backslash), as a full path.
bool IsRoot(const char* full);

// The folder part of a pattern: through its last backslash, 0 when it has none. A drive
// ("C:*.*") and forward slashes are not folder parts here, and the second byte of a
// double-byte character is never a backslash.
size_t FolderPartLength(std::string_view pattern, const LeadBytes& lead);

// Drive and directory of a path as SplitPath reads them: through the last "\" or "/",
// else through the drive's colon, else 0.
size_t DriveAndFolderLength(std::string_view path, const LeadBytes& lead);

// The length of folder without its trailing backslashes (a folder of backslashes alone
// gives 0). The second byte of a double-byte character is part of a name.
size_t TrimmedFolderLength(const char* folder, const LeadBytes& lead);

}  // namespace vnk
