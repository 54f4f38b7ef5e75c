// The tree walks over the directory scan.
#include "scan/walk.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "paths/call_rules.h"
#include "paths/join_kernel.h"
#include "paths/rules_kernel.h"
#include "scan/scan.h"
#include "system/fs.h"
#include "system/text.h"

namespace vnk {
namespace {

// A folder that is a link (a reparse point: junction, symbolic link, mount point, and
// under Wine a Linux symbolic link to a folder) leads outside the tree, or back up into
// it. Walking into it would let the tree deletions empty folders that the caller never
// named, and would make a walk count a tree again and again through a loop, or never
// end. Neither walk enters such a folder, hands it out or counts it, as find and du do
// without following links; a tree holding one is never removed whole.
bool IsWalkedFolder(const DirEntry& entry) {
  return (entry.attrib & ATTR_DIRECTORY) != 0 && (entry.attrib & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

// A bare drive ("X:") names that drive's current folder, as the platform's full path
// says; the drive followed by a backslash and a name would name its root instead. A walk
// starts from the full path of such a folder. Any other folder is kept as spelled.
// False when the full path cannot be had or passes the call's limit.
bool WalkStart(std::string_view folder, std::string* full, std::string_view* start) {
  *start = folder;
  if (!IsBareDrive(folder)) return true;
  char drive[3] = {folder[0], ':', '\0'};
  if (!sys::FullPath(drive, full) || full->size() > CallPathLimit()) return false;
  *start = *full;
  return true;
}

// Makes out folder + "\\" (when separator) + tail; false when that passes the longest
// path the call takes.
bool Compose(std::string* out, std::string_view folder, bool separator, const char* tail) {
  size_t tail_len = BoundedLength(tail, CallPathLimit());
  size_t len = folder.size() + (separator ? 1 : 0) + tail_len;
  if (len > CallPathLimit()) return false;
  out->assign(folder);
  if (separator) out->push_back('\\');
  out->append(tail, tail_len);
  return true;
}

class Walk {
 public:
  Walk(char* table, size_t slot_size) : table_(table), slot_size_(slot_size) {}
  int count() const { return count_; }
  bool full() const { return count_ >= WALK_SLOTS; }
  char* slot(int i) const { return table_ + static_cast<size_t>(i) * slot_size_; }

  // Scans parent's folder entries and adds each kept one as a new slot. At the first
  // level every dotted name is passed over (hidden folders of the caller's folder are
  // not walked); below it only the platform's "." and "..". A child whose path does
  // not fit a slot is passed over, and so never expanded.
  void Expand(const char* parent, size_t parent_len, bool first_level) {
    std::string pattern(parent, parent_len);
    pattern += "\\*.*";
    DirEntry entry;
    ScopedScan scan(pattern.c_str(), &entry, ScanFields::kNoTimes);
    for (bool have = scan.ok(); have && !full(); have = scan.Next(&entry)) {
      if (!IsWalkedFolder(entry)) continue;
      const char* name = entry.name;
      if (first_level ? name[0] == '.' : IsSelfOrParent(name)) continue;
      size_t name_len = strnlen(name, sizeof entry.name - 1);
      if (parent_len + 1 + name_len > slot_size_ - 1) continue;
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
  size_t slot_size_;
  int count_ = 0;
  bool expanded_[WALK_SLOTS] = {};
};

}  // namespace

WalkTable CollectSubDirectories(const char* folder) {
  WalkTable table;
  if (CurrentEncoding() == CallEncoding::kUtf8) table.slot_size = WALK_WIDE_SLOT_SIZE;
  const size_t table_bytes = 1000 * table.slot_size;
  table.block = TaskAlloc(table_bytes);
  if (!table.ok()) return table;
  memset(table.block.get(), 0, table_bytes);
  std::string full;
  std::string_view start;
  if (!WalkStart(std::string_view(folder, BoundedLength(folder, CallPathLimit())), &full, &start)) return table;
  if (start.data() == full.data()) folder = full.c_str();
  size_t base = TrimmedFolderLength(folder, CallLeadBytes());
  // A folder made of nothing but backslashes names no folder: with its trailing
  // backslashes dropped it would become the root of the current drive, and a tree
  // deletion would empty that drive's folders. (The empty folder is the caller's to
  // refuse or accept.)
  if (base == 0 && folder[0] != '\0') return table;
  // Any child needs the folder, a backslash and a name within one slot.
  if (base + 2 > table.slot_size - 1) return table;

  Walk walk(table.block.get(), table.slot_size);
  walk.Expand(folder, base, true);
  walk.ExpandDeeper();
  table.count = walk.count();
  SortSlots(table.block.get(), static_cast<size_t>(table.count), table.slot_size);
  return table;
}

namespace {

void WalkFrom(std::string_view folder, FolderVisitor& visitor) {
  bool separator = !folder.empty() && !EndsWithChar(folder, "\\", CallLeadBytes());
  std::string path;
  if (!Compose(&path, folder, separator, "*.*")) return;
  DirEntry entry;
  ScopedScan scan(path.c_str(), &entry, ScanFields::kNoTimes);
  for (bool have = scan.ok(); have; have = scan.Next(&entry)) {
    bool folder_entry = (entry.attrib & ATTR_DIRECTORY) != 0;
    if (folder_entry && !IsWalkedFolder(entry)) continue;
    if (!visitor.Visit(entry) || !folder_entry) continue;
    if (Compose(&path, folder, separator, entry.name)) WalkFrom(path, visitor);
  }
}

}  // namespace

void WalkDepthFirst(std::string_view folder, FolderVisitor& visitor) {
  std::string full;
  std::string_view start;
  if (WalkStart(folder, &full, &start)) WalkFrom(start, visitor);
}

}  // namespace vnk
