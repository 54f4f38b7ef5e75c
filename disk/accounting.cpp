// File counts, sizes, allocation on disk and slack: cCountFiles, cFilesSize,
// cFilesSizeOnDisk, cFilesSlack over one wildcard path, and cRcsCountFileDir,
// cRcsFilesSize, cRcsFilesSizeOnDisk, cRcsFilesSlack over a folder or a whole tree.
#include "disk/accounting_kernel.h"
#include "disk/disk.h"
#include "frame/host.h"
#include "paths/join_kernel.h"
#include "paths/split.h"
#include "scan/scan.h"

namespace vnk {
namespace {

// The cluster size of the drive a path names ("C:" from C:\DATA\*.*), or -1 when it
// cannot be queried. A path without a drive letter (S\*.*, \DATA) lies on the current
// drive, so a relative name answers what its full name answers. A network name
// (\\server\share\...) names no drive letter and no current drive: it is not asked.
double ClusterOfPath(const char* path) {
  std::string_view text(path, BoundedLength(path, MAX_PATH_CHARS));
  SplitParts parts = SplitAnsiPath(text);
  auto separator = [](char c) { return c == '\\' || c == '/'; };
  if (parts.drive.empty() && text.size() >= 2 && separator(text[0]) && separator(text[1])) return -1.0;
  char drive[3] = {};
  parts.drive.copy(drive, 2);
  return DiskQuery(drive, DISK_CLUSTER);
}

// ---- One wildcard path --------------------------------------------------------------

// Totals over every entry the scan yields, folders (size 0) and "." and ".." included.
// Sizes are whole 64-bit sizes, so a file beyond 4 GB counts at its real size.
struct PatternTotals {
  uint16_t entries = 0;  // 16 bits, as callers receive it: wraps at 65536
  uint64_t bytes = 0;
  double allocated = 0;
};

PatternTotals AddUp(const char* pattern, double cluster) {
  PatternTotals t;
  DirEntry entry;
  ScopedScan scan(pattern, &entry);
  if (!scan.ok()) return t;
  do {
    ++t.entries;
    // Without a usable cluster size nothing is added, sizes included, so that the two
    // totals of cFilesSlack always describe the same files.
    if (cluster >= 1.0) {
      t.bytes += FullSize(entry);
      t.allocated += Allocation(FullSize(entry), cluster);
    }
  } while (scan.Next(&entry));
  return t;
}

// ---- Folder walks -------------------------------------------------------------------

// The recursive functions' state: one copy for the library, reset at the start of each
// call and left holding its last values afterwards.
struct WalkState {
  char pattern[SCAN_PATTERN_CHARS + 1];  // the file pattern, folded; "" takes every file
  uint16_t directories;
  uint16_t files;
  double size_total;
  double alloc_total;
  double cluster;
};
WalkState walk_state;

enum WalkAdds : unsigned { ADD_NOTHING = 0, ADD_SIZE = 1, ADD_ALLOCATION = 2 };

// Resets the state and takes the pattern; false when the pattern is too long to hold,
// in which case the call reports an empty walk.
bool StartWalk(const char* file_pattern, double cluster) {
  walk_state = WalkState{};
  walk_state.cluster = cluster;
  return FoldedPattern(file_pattern, walk_state.pattern);
}

// Writes folder + "\" (when needed) + tail into out; false when that passes the
// 259 characters a path may have, so that the folder is skipped.
bool Compose(char (&out)[PATH_BUFFER], std::string_view folder, bool separator, const char* tail) {
  size_t tail_len = BoundedLength(tail, MAX_PATH_CHARS);
  size_t len = folder.size() + (separator ? 1 : 0) + tail_len;
  if (len > MAX_PATH_CHARS) return false;
  folder.copy(out, folder.size());
  if (separator) out[folder.size()] = '\\';
  std::memcpy(out + len - tail_len, tail, tail_len);
  out[len] = '\0';
  return true;
}

// Counts the folders and matching files in folder (and below it when recurse is set),
// adding sizes and allocations as asked. Names beginning with "." are passed over, files
// and folders alike. An empty folder name is the current folder.
void Walk(std::string_view folder, bool recurse, unsigned adds) {
  bool separator = !folder.empty() && !EndsWithChar(folder, "\\", AnsiLeadBytes());
  char search[PATH_BUFFER];
  if (!Compose(search, folder, separator, "*.*")) return;
  DirEntry entry;
  ScopedScan scan(search, &entry);
  if (!scan.ok()) return;
  do {
    if (entry.name[0] == '.') continue;
    if (entry.attrib & ATTR_DIRECTORY) {
      ++walk_state.directories;
      char sub[PATH_BUFFER];
      if (recurse && Compose(sub, folder, separator, entry.name)) Walk(sub, recurse, adds);
    } else if (WalkNameMatches(entry.name, walk_state.pattern)) {
      ++walk_state.files;
      if (adds & ADD_SIZE) walk_state.size_total += static_cast<double>(FullSize(entry));
      if (adds & ADD_ALLOCATION) walk_state.alloc_total += Allocation(FullSize(entry), walk_state.cluster);
    }
  } while (scan.Next(&entry));
}

std::string_view FolderArg(const char* dir) {
  // One character past the limit is enough for Compose to refuse a folder too long.
  return std::string_view(dir, BoundedLength(dir, MAX_PATH_CHARS));
}

}  // namespace
}  // namespace vnk

using namespace vnk;

extern "C" int16_t __stdcall cCountFiles(StrArg pattern) {
  return static_cast<int16_t>(AddUp(pattern, 0.0).entries);
}

extern "C" double __stdcall cFilesSize(StrArg pattern) {
  // Any cluster size of 1 or more makes AddUp add the sizes; no drive is asked.
  return static_cast<double>(AddUp(pattern, 1.0).bytes);
}

extern "C" double __stdcall cFilesSizeOnDisk(StrArg pattern) {
  double cluster = ClusterOfPath(pattern);
  if (cluster < 0) return 0.0;
  return AddUp(pattern, cluster).allocated;
}

extern "C" int32_t __stdcall cFilesSlack(StrArg pattern, double* size, double* size_on_disk) {
  if (AnyNull(size, size_on_disk)) return 0;  // as when the drive cannot be asked
  double cluster = ClusterOfPath(pattern);
  if (cluster < 0) return 0;  // the outputs keep what they held
  PatternTotals t = AddUp(pattern, cluster);
  *size = static_cast<double>(t.bytes);
  *size_on_disk = t.allocated;
  return SlackPercent(*size, *size_on_disk);
}

extern "C" int16_t __stdcall cRcsCountFileDir(int16_t which, StrArg dir, StrArg file_pattern,
                                               int16_t recurse) {
  if (StartWalk(file_pattern, 0.0)) Walk(FolderArg(dir), recurse != 0, ADD_NOTHING);
  return static_cast<int16_t>(which != 0 ? walk_state.files : walk_state.directories);
}

extern "C" double __stdcall cRcsFilesSize(StrArg dir, StrArg file_pattern, int16_t recurse) {
  if (StartWalk(file_pattern, 0.0)) Walk(FolderArg(dir), recurse != 0, ADD_SIZE);
  return walk_state.size_total;
}

// The allocation walks need the drive's cluster size; a drive that cannot be queried
// gives 0 (and leaves the slack's outputs alone), as for a single wildcard path.
extern "C" double __stdcall cRcsFilesSizeOnDisk(StrArg dir, StrArg file_pattern, int16_t recurse) {
  double cluster = ClusterOfPath(dir);
  bool pattern_ok = StartWalk(file_pattern, cluster);
  if (cluster < 0) return 0.0;
  if (pattern_ok) Walk(FolderArg(dir), recurse != 0, ADD_ALLOCATION);
  return walk_state.alloc_total;
}

extern "C" int32_t __stdcall cRcsFilesSlack(StrArg dir, StrArg file_pattern, int16_t recurse,
                                            double* size, double* size_on_disk) {
  if (AnyNull(size, size_on_disk)) return 0;  // as when the drive cannot be asked
  double cluster = ClusterOfPath(dir);
  bool pattern_ok = StartWalk(file_pattern, cluster);
  if (cluster < 0) return 0;
  if (pattern_ok) Walk(FolderArg(dir), recurse != 0, ADD_SIZE | ADD_ALLOCATION);
  *size = walk_state.size_total;
  *size_on_disk = walk_state.alloc_total;
  return SlackPercent(*size, *size_on_disk);
}
