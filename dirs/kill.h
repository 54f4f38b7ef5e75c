// Deletion routines shared inside the library.
#pragma once

#include <cstdint>

namespace vnk {

// The single-file deletion: -1 when the file is gone (or was never there), otherwise
// the run-time error number of the failed deletion.
int16_t KillFile(const char* name);

// The delete-if-present routine: like KillFile, but read-only, hidden and system files
// go too. -1 when the file is gone (or was never there), 0 when its attributes could
// not be cleared, otherwise the run-time error number of the failed deletion.
int16_t KillFileAll(const char* name);

}  // namespace vnk
