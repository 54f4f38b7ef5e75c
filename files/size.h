// The file size routines that every size question of the library goes through.
#pragma once

#include <cstdint>
#include <optional>

namespace vnk {

// The whole size of a file in bytes, 0 for a folder or a drive root; nothing when the
// name cannot be examined (missing, wildcards, a bare "C:").
std::optional<uint64_t> WholeFileSize(const char* name);

// The low 32 bits of the size of a file as a signed value, 0 for a folder or a drive
// root, -1 when the name cannot be examined (missing, wildcards, a bare "C:").
int32_t FileSizeQuery(const char* name);

}  // namespace vnk
