// File counts, sizes, allocation on disk and slack: cCountFiles, cFilesSize,
// cFilesSizeOnDisk, cFilesSlack over one wildcard path, and cRcsCountFileDir,
// cRcsFilesSize, cRcsFilesSizeOnDisk, cRcsFilesSlack over a folder or a whole tree.
#include "disk/accounting_kernel.h"
#include "disk/disk.h"
#include "frame/host.h"
#include "paths/call_rules.h"
#include "paths/path_kernel.h"
#include "scan/scan.h"
#include "scan/walk.h"
#include "system/text.h"

namespace vnk {
namespace {

// The cluster size of the drive a path names ("C:" from C:\DATA\*.*), or -1 when it
// cannot be queried. A path without a drive letter (S\*.*, \DATA) lies on the current
// drive, so a relative name answers what its full name answers. A network name
// (\\server\share\...) names no drive letter and no current drive: it is not asked.
double ClusterOfPath(const char* path) {
  std::string_view text(path, BoundedLength(path, CallPathLimit()));
  SplitParts parts = SplitPath(text, CallLeadBytes());
  if (parts.drive.empty() && text.size() >= 2 && IsSeparator(text[0]) && IsSeparator(text[1])) return -1.0;
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
  ScopedScan scan(pattern, &entry, ScanFields::kNoTimes);
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

enum WalkAdds : unsigned { ADD_NOTHING = 0, ADD_SIZE = 1, ADD_ALLOCATION = 2 };

// Counts the folders and matching files of a folder (and below it when recurse is set),
// adding sizes and allocations as asked. Names beginning with "." are passed over, files
// and folders alike. Everything lives for one call.
class Tally final : public FolderVisitor {
 public:
  Tally(bool recurse, unsigned adds, double cluster) : recurse_(recurse), adds_(adds), cluster_(cluster) {}

  bool Visit(const DirEntry& entry) override {
    if (entry.name[0] == '.') return false;
    if (entry.attrib & ATTR_DIRECTORY) {
      ++directories;
      return recurse_;
    }
    if (WalkNameMatches(entry.name, pattern_)) {
      ++files;
      if (adds_ & ADD_SIZE) size_total += static_cast<double>(FullSize(entry));
      if (adds_ & ADD_ALLOCATION) alloc_total += Allocation(FullSize(entry), cluster_);
    }
    return false;
  }

  // Walks dir ("" is the current folder). A file pattern too long to hold gives an empty
  // walk.
  Tally& Over(const char* dir, const char* file_pattern) {
    // One character past the limit is enough for the walk to refuse a folder too long.
    if (FoldedPattern(file_pattern, pattern_))
      WalkDepthFirst(std::string_view(dir, BoundedLength(dir, CallPathLimit())), *this);
    return *this;
  }

  uint16_t directories = 0;  // 16 bits, as callers receive them: wrap at 65536
  uint16_t files = 0;
  double size_total = 0;
  double alloc_total = 0;

 private:
  bool recurse_;
  unsigned adds_;
  double cluster_;
  char pattern_[SCAN_PATTERN_CHARS + 1] = "";  // the file pattern, folded; "" takes every file
};

}  // namespace
}  // namespace vnk

using namespace vnk;

extern "C" int16_t __stdcall cCountFiles(StrArg pattern) {
  return Shield<int16_t>(0, [&] { return static_cast<int16_t>(AddUp(pattern, 0.0).entries); });
}

extern "C" double __stdcall cFilesSize(StrArg pattern) {
  // Any cluster size of 1 or more makes AddUp add the sizes; no drive is asked.
  return Shield<double>(0.0, [&] { return static_cast<double>(AddUp(pattern, 1.0).bytes); });
}

extern "C" double __stdcall cFilesSizeOnDisk(StrArg pattern) {
  return Shield<double>(0.0, [&] {
    double cluster = ClusterOfPath(pattern);
    if (cluster < 0) return 0.0;
    return AddUp(pattern, cluster).allocated;
  });
}

extern "C" int32_t __stdcall cFilesSlack(StrArg pattern, double* size, double* size_on_disk) {
  if (AnyNull(size, size_on_disk)) return 0;  // as when the drive cannot be asked
  return Shield<int32_t>(0, [&] {
    double cluster = ClusterOfPath(pattern);
    if (cluster < 0) return 0;  // the outputs keep what they held
    PatternTotals t = AddUp(pattern, cluster);
    *size = static_cast<double>(t.bytes);
    *size_on_disk = t.allocated;
    return SlackPercent(*size, *size_on_disk);
  });
}

extern "C" int16_t __stdcall cRcsCountFileDir(int16_t which, StrArg dir, StrArg file_pattern,
                                               int16_t recurse) {
  return Shield<int16_t>(0, [&] {
    Tally t(recurse != 0, ADD_NOTHING, 0.0);
    t.Over(dir, file_pattern);
    return static_cast<int16_t>(which != 0 ? t.files : t.directories);
  });
}

extern "C" double __stdcall cRcsFilesSize(StrArg dir, StrArg file_pattern, int16_t recurse) {
  return Shield<double>(0.0, [&] { return Tally(recurse != 0, ADD_SIZE, 0.0).Over(dir, file_pattern).size_total; });
}

// The allocation walks need the drive's cluster size; a drive that cannot be queried
// gives 0 (and leaves the slack's outputs alone), as for a single wildcard path.
extern "C" double __stdcall cRcsFilesSizeOnDisk(StrArg dir, StrArg file_pattern, int16_t recurse) {
  return Shield<double>(0.0, [&] {
    double cluster = ClusterOfPath(dir);
    if (cluster < 0) return 0.0;
    return Tally(recurse != 0, ADD_ALLOCATION, cluster).Over(dir, file_pattern).alloc_total;
  });
}

extern "C" int32_t __stdcall cRcsFilesSlack(StrArg dir, StrArg file_pattern, int16_t recurse,
                                            double* size, double* size_on_disk) {
  if (AnyNull(size, size_on_disk)) return 0;  // as when the drive cannot be asked
  return Shield<int32_t>(0, [&] {
    double cluster = ClusterOfPath(dir);
    if (cluster < 0) return 0;
    Tally t(recurse != 0, ADD_SIZE | ADD_ALLOCATION, cluster);
    t.Over(dir, file_pattern);
    *size = t.size_total;
    *size_on_disk = t.alloc_total;
    return SlackPercent(*size, *size_on_disk);
  });
}
