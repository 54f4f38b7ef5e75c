// The breadth-first directory tree walk shared by the tree deletions and the tree
// listing: every folder below a folder, at most 999, sorted so that each folder comes
// before all of its descendants.
#pragma once

#include <cstdint>

#include "frame/host.h"
#include "scan/walk_kernel.h"

namespace vnk {

// The folder enumerator over the process-wide kept scan. Mode -1 starts a scan of the
// pattern, 1 closes it, anything else continues it. Answers -1 with the next entry
// that is a folder ("." and ".." included) copied into name (260 bytes), or 0 when
// the scan cannot start or has no more folders.
int16_t NextSubDirectory(const char* pattern, char* name, int16_t mode);

// The collected folders: full paths in 128-byte slots of one task-memory block.
struct WalkTable {
  TaskBuffer block;  // empty when the table could not be allocated
  int count = 0;
  bool ok() const { return block != nullptr; }
  const char* path(int i) const { return block.get() + static_cast<size_t>(i) * WALK_SLOT_SIZE; }
};

// Collects the folders below folder breadth first and sorts them. Names beginning with
// "." are dropped directly below folder; "." and ".." are dropped at every level. A
// trailing backslash on folder is ignored, so an empty folder, like "\", walks the root
// of the current drive. A folder whose path would not fit a slot is skipped together
// with everything below it.
WalkTable CollectSubDirectories(const char* folder);

}  // namespace vnk
