// Rewriting a file in place through a work file (cFileChangeChars, cFileSearchAndReplace):
// the checks on the work file before the pass, and the copy of the finished work file
// back over the file, which never leaves that file missing or half written.
#pragma once

#include <cstdint>

#include "files/block_io.h"
#include "frame/host.h"

namespace vnk {

// The work file a caller names, or when it names none "~!!TMP~.TMP", which, being
// relative, is made in the current directory.
inline const char* WorkFileName(const char* given) { return given[0] != '\0' ? given : "~!!TMP~.TMP"; }

// Opens the work file for a pass over file, in mode, into out. False, the caller's
// RC_CANT_OPEN_SECOND, for a name the copy back cannot take (FitsCallNameBuffer), a device (the pass
// would write into it and the copy back would read nothing back), file itself by any
// name (opening it would empty file before it is read), a read-only file, and anything
// that opens as something other than a plain disk file; nothing has been written then.
bool OpenWorkFile(const char* file, const char* work, OutputMode mode, BlockWriter& out);

// Copies the finished work file, which must hold exactly the `written` bytes the pass
// wrote, back over file, writing into file itself so that it stays the same file (its
// other names, attributes and creation time). Returns 0 or a negative result code.
// Whatever fails before file's first byte is overwritten (the work file cannot be read
// or is not `written` bytes long, file cannot be opened for writing, there is no room
// for the new length) leaves file exactly as it was; the work file is then deleted, as
// it is after success. Only a device error after that point can leave file part
// written; the work file then holds the only complete result and is kept.
int32_t CopyBack(const char* work, const char* file, uint64_t written);

}  // namespace vnk
