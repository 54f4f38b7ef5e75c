// The tree walk over the folder enumerator.
#include "scan/walk.h"

#include <cstring>

#include "paths/rules_kernel.h"
#include "paths/split.h"
#include "scan/scan.h"

namespace vnk {
namespace {

// The enumerator's scan; the walk closes it before each start and at its end, so it is
// open only during one walk.
KeptScan g_enumerator;

// A folder that is a link (a reparse point: junction or symbolic link) leads outside
// the tree; walking into it would let the tree deletions empty folders that the caller
// never named. Such entries are not handed out, so the walk neither lists nor enters
// them, and a tree holding one is never removed whole.
bool TakeFolder(const DirEntry& entry, char* name) {
  if ((entry.attrib & ATTR_DIRECTORY) == 0) return false;
  if (entry.attrib & FILE_ATTRIBUTE_REPARSE_POINT) return false;
  memcpy(name, entry.name, strnlen(entry.name, sizeof entry.name - 1) + 1);
  return true;
}

class Walk {
 public:
  explicit Walk(char* table) : table_(table) {}
  int count() const { return count_; }
  bool full() const { return count_ >= WALK_SLOTS; }
  char* slot(int i) const { return table_ + static_cast<size_t>(i) * WALK_SLOT_SIZE; }

  // Scans parent's folder entries and adds each kept one as a new slot. At the first
  // level every dotted name is passed over (hidden folders of the caller's folder are
  // not walked); below it only the platform's "." and "..". A child whose path does
  // not fit a slot is passed over, and so never expanded.
  void Expand(const char* parent, size_t parent_len, bool first_level) {
    char pattern[WALK_SLOT_SIZE + 8];
    memcpy(pattern, parent, parent_len);
    memcpy(pattern + parent_len, "\\*.*", 5);
    char name[PATH_BUFFER];
    for (int16_t mode = -1; !full() && NextSubDirectory(pattern, name, mode) == VB_TRUE; mode = 0) {
      if (first_level ? name[0] == '.' : IsSelfOrParent(name)) continue;
      size_t name_len = strlen(name);
      if (parent_len + 1 + name_len > WALK_PATH_CHARS) continue;
      char* s = slot(count_);
      memcpy(s, parent, parent_len);
      s[parent_len] = '\\';
      memcpy(s + parent_len + 1, name, name_len + 1);
      expanded_[count_] = false;
      ++count_;
    }
  }

  // Deeper levels, one pass per level: a pass expands the slots that existed when it
  // began; the slots it adds wait for the next pass.
  void ExpandDeeper() {
    int first = 0;
    while (!full() && first < count_) {
      int pass_end = count_;
      for (int i = first; i < pass_end && !full(); ++i) {
        if (expanded_[i]) continue;
        Expand(slot(i), strlen(slot(i)), false);
        expanded_[i] = true;
      }
      first = pass_end;
    }
  }

 private:
  char* table_;
  int count_ = 0;
  bool expanded_[WALK_SLOTS] = {};
};

}  // namespace

int16_t NextSubDirectory(const char* pattern, char* name, int16_t mode) {
  if (mode == 1) {
    g_enumerator.Close();
    return 0;
  }
  DirEntry entry;
  bool have = mode == -1 ? g_enumerator.Start(pattern, &entry) : g_enumerator.Next(&entry);
  for (; have; have = g_enumerator.Next(&entry))
    if (TakeFolder(entry, name)) return VB_TRUE;
  return 0;
}

WalkTable CollectSubDirectories(const char* folder) {
  WalkTable table;
  table.block = TaskAlloc(WALK_TABLE_BYTES);
  if (!table.ok()) return table;
  memset(table.block.get(), 0, WALK_TABLE_BYTES);
  size_t base = TrimmedFolderLength(folder, AnsiLeadBytes());
  // A folder made of nothing but backslashes names no folder: with its trailing
  // backslashes dropped it would become the root of the current drive, and a tree
  // deletion would empty that drive's folders. (The empty folder is the caller's to
  // refuse or accept.)
  if (base == 0 && folder[0] != '\0') return table;
  // Any child needs the folder, a backslash and a name within one slot.
  if (base + 2 > WALK_PATH_CHARS) return table;

  Walk walk(table.block.get());
  walk.Expand(folder, base, true);
  walk.ExpandDeeper();
  NextSubDirectory(nullptr, nullptr, 1);
  table.count = walk.count();
  SortSlots(table.block.get(), static_cast<size_t>(table.count));
  return table;
}

}  // namespace vnk
