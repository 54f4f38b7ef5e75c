// The plain copy: the library's own buffered byte copy behind cFileCopy, which the text
// transforms also use to copy a work file back over the file they rewrite.
#pragma once

#include <cstdint>

#include "frame/result.h"

namespace vnk {

// The plain copy and the in-place rewrite have always taken whole paths of at most 255
// characters (their name buffers) from an ANSI call, and still do; a twin's call takes
// any path the call takes.
bool FitsCallNameBuffer(const char* path);

// Copies the bytes of source to target (created or truncated). Gives the byte count or
// a failure code; after a failure no target written by this call is left behind, and
// source is never modified.
Outcome<uint64_t> PlainCopy(const char* source, const char* target);

}  // namespace vnk
