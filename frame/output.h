// Opening a file for writing the way the library's callers expect on Windows: a file
// marked read-only is never opened for writing, so it is never truncated or overwritten.
#pragma once

#include <windows.h>

#include <cstdio>

#include "system/fs.h"

namespace vnk {

// True for an existing file marked read-only. A process with full rights on some hosts
// (a POSIX root, for one) would otherwise be let through and write over a file its
// owner protected, so the functions that open an existing file for writing ask first.
inline bool IsReadOnlyFile(const char* name) {
  DWORD attrib = sys::Attributes(name);
  return attrib != INVALID_FILE_ATTRIBUTES && (attrib & FILE_ATTRIBUTE_READONLY) &&
         !(attrib & FILE_ATTRIBUTE_DIRECTORY);
}

// fopen for an output stream, refusing a read-only file as Windows itself does.
inline FILE* OpenOutput(const char* name, const char* mode) {
  if (IsReadOnlyFile(name)) return nullptr;
  return sys::OpenStream(name, mode);
}

}  // namespace vnk
