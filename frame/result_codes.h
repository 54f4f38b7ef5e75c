// Result codes shared by the exports, VB truth values and the attribute bits.
#pragma once

#include <cstdint>

namespace vnk {

// VB Booleans are Integers: True is -1, False is 0.
constexpr int16_t VB_TRUE = -1;
constexpr int16_t VB_FALSE = 0;
constexpr int16_t VbBool(bool b) { return b ? VB_TRUE : VB_FALSE; }

// The comparisons of two files' sizes, times and attributes (-1, 0, 1) answer this when
// either file cannot be examined.
constexpr int16_t CMP_CANT_EXAMINE = -2;

// Negative results of the functions that process file contents. Long results carry them
// as full 32-bit negatives (-32760 is 0xFFFF8008), Integer results in 16 bits (0x8008).
constexpr int32_t RC_NO_MEMORY = -32760;
constexpr int32_t RC_NO_MEMORY_SECOND = -32761;
constexpr int32_t RC_CANT_OPEN_FIRST = -32750;
constexpr int32_t RC_CANT_OPEN_SECOND = -32751;
constexpr int32_t RC_CANT_OPEN_THIRD = -32752;
constexpr int32_t RC_READ_FAILED = -32730;
constexpr int32_t RC_READ_FAILED_SECOND = -32731;
constexpr int32_t RC_WRITE_FAILED = -32740;
constexpr int32_t RC_WRITE_SHORT = -32720;
constexpr int32_t RC_WRITE_SHORT_SECOND = -32721;
// The tree deletions refuse a drive's root or a share's root (also a bare "X:" whose
// current folder is the root) and touch nothing there.
constexpr int32_t RC_ROOT_REFUSED = -32710;

// Attribute bits, as the platform numbers them.
constexpr uint32_t ATTR_READONLY = 0x01;
constexpr uint32_t ATTR_HIDDEN = 0x02;
constexpr uint32_t ATTR_SYSTEM = 0x04;
constexpr uint32_t ATTR_DIRECTORY = 0x10;
constexpr uint32_t ATTR_ARCHIVE = 0x20;
constexpr uint32_t ATTR_NORMAL = 0x80;
constexpr uint32_t ATTR_TEMPORARY = 0x100;
constexpr uint32_t ATTR_COMPRESSED = 0x800;

// Work buffers are taken in blocks of this size; several results depend on it (a run of
// blanks never crosses a block, for instance), so it is part of the behaviour.
constexpr uint32_t WORK_BLOCK = 0x8000;

// Path buffers: 259 characters and the terminator.
constexpr size_t PATH_BUFFER = 260;
constexpr size_t MAX_PATH_CHARS = PATH_BUFFER - 1;

}  // namespace vnk
