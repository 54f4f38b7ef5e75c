// The file size routines that every size question of the library goes through, and the
// status query behind them and the date questions.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

namespace vnk {

// The status of a file as the runtime's status query gives it, read through the system
// layer: refused (false) for wildcards, a bare drive ("C:", trailing blanks aside) and a
// name that ends in a separator other than a drive's root ("C:\"), as that query refuses
// them; otherwise the file system's attribute data, false when the name cannot be
// examined.
bool FileStatus(const char* name, WIN32_FILE_ATTRIBUTE_DATA* data);

// The whole size of a file in bytes, 0 for a folder or a drive root; nothing when the
// name cannot be examined (missing, wildcards, a bare "C:", no memory).
std::optional<uint64_t> WholeFileSize(const char* name);

// The low 32 bits of the size of a file as a signed value, 0 for a folder or a drive
// root, -1 when the name cannot be examined (missing, wildcards, a bare "C:").
int32_t FileSizeQuery(const char* name);

}  // namespace vnk
