// Deletion routines shared inside the library.
#pragma once

#include <cstdint>

namespace vnk {

// The single-file deletion: -1 when the file is gone (or was never there), otherwise
// the run-time error number of the failed deletion.
int16_t KillFile(const char* name);

}  // namespace vnk
