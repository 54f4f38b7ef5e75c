// The read-only attribute as a bar to opening an existing file for writing.
#pragma once

#include <windows.h>

namespace vnk {

// True for an existing file marked read-only. The functions that open an existing file
// for writing ask first: on some hosts a process with full rights would otherwise be let
// through and write over (or truncate) a file its owner protected.
inline bool IsReadOnlyFile(const char* name) {
  DWORD attrib = GetFileAttributesA(name);
  return attrib != INVALID_FILE_ATTRIBUTES && (attrib & FILE_ATTRIBUTE_READONLY) &&
         !(attrib & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace vnk
