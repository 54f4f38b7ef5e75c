// The directory tree walks every walking export goes through. Breadth first, for the
// tree deletions and the tree listing: every folder below a folder, at most 999, sorted
// so that each folder comes before all of its descendants. Depth first, for the size
// accounting and the file search: each folder's entries in the scan's order, a picked
// sub-folder walked at once.
#pragma once

#include <cstdint>
#include <string_view>

#include "frame/host.h"
#include "scan/scan.h"
#include "scan/walk_kernel.h"

namespace vnk {

// The collected folders: full paths in slots of one task-memory block, 128 bytes each
// for an ANSI call, 4,096 for a twin's.
struct WalkTable {
  TaskBuffer block;  // empty when the table could not be allocated
  int count = 0;
  size_t slot_size = WALK_SLOT_SIZE;
  bool ok() const { return block != nullptr; }
  const char* path(int i) const { return block.get() + static_cast<size_t>(i) * slot_size; }
};

// Collects the folders below folder breadth first and sorts them. Names beginning with
// "." are dropped directly below folder; "." and ".." are dropped at every level, and so
// are folder links (junctions, symbolic links, mount points), which are never entered. A
// trailing backslash on folder is ignored, so an empty folder walks the root of the
// current drive. A bare drive ("X:") is that drive's current folder, and
// the paths start with its full path. A folder whose path would not fit a slot is skipped
// together with everything below it.
WalkTable CollectSubDirectories(const char* folder);

// The caller's side of the depth-first walk: it sees every entry of each folder listed
// but the folder links, "." and ".." included, in the scan's order (names, attributes
// and sizes; no times).
class FolderVisitor {
 public:
  // Answers true for a folder entry that the walk should enter at once, before the
  // folder's next entry. Folder links are never handed to it.
  virtual bool Visit(const DirEntry& entry) = 0;

 protected:
  ~FolderVisitor() = default;
};

// Lists folder with "*.*" ("" is the current folder, a bare "X:" the current folder of
// X) and hands each entry but the folder links to visitor;
// every folder entry it picks is walked the same way at once, under folder, a backslash
// (none after a folder that already ends with one) and the entry's name. A folder whose
// listing pattern would pass the call's longest path (259 characters for an ANSI call)
// is not listed, so a picked folder too deep for a path contributes nothing.
void WalkDepthFirst(std::string_view folder, FolderVisitor& visitor);

}  // namespace vnk
