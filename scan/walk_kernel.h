// The pure rules of the directory tree walk: its slot table's shape, which folder
// entries it drops, and the order it sorts the collected paths into.
#pragma once

#include <cstddef>

namespace vnk {

// At most 999 folders, each path in a 128-byte slot with its terminator.
constexpr int WALK_SLOTS = 999;
constexpr size_t WALK_SLOT_SIZE = 128;
constexpr size_t WALK_TABLE_BYTES = 1000 * WALK_SLOT_SIZE;
constexpr size_t WALK_PATH_CHARS = WALK_SLOT_SIZE - 1;
// A Unicode twin's walk keeps the 999 folders in slots of 4,096 bytes: paths of up to
// 4,095 bytes of UTF-8 (1,365 characters of any script, more of most).
constexpr size_t WALK_WIDE_SLOT_SIZE = 4096;

// The platform's entries for a folder itself and its parent. Below a drive's root they
// normally come first; they are never real sub-folders and are never collected.
bool IsSelfOrParent(const char* name);

// Compares two collected paths: where the bytes differ, A-Z are taken as a-z and the
// results compared as unsigned bytes; a path that ends first is the smaller. The
// backslash (0x5C) thus sorts after "." and before the letters: A, A.B, A\B, AB. Two
// paths equal but for letter case (possible on a case-sensitive file system) fall back
// to their plain bytes, so the order stays total.
int WalkCompare(const char* a, const char* b);

// Sorts the first count slots of a slot table in place by WalkCompare.
void SortSlots(char* table, size_t count, size_t slot_size = WALK_SLOT_SIZE);

}  // namespace vnk
