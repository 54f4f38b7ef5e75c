// The plain copy: the library's own buffered byte copy behind cFileCopy, which the text
// transforms also use to copy a work file back over the file they rewrite.
#pragma once

#include <cstdint>

namespace vnk {

// Copies the bytes of source to target (created or truncated). Returns the byte count
// (clamped to the largest Long) or a negative result code; on a negative result no
// target written by this call is left behind, and source is never modified.
int32_t PlainCopy(const char* source, const char* target);

}  // namespace vnk
