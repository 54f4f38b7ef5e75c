// The directory scan every folder-reading function goes through: start on a pattern,
// take entries one by one, close. It filters, sorts and recurses nothing; callers decide.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace vnk {

// The longest entry name in bytes: 255 UTF-16 units, each at most three bytes of UTF-8
// (or two of a double-byte code page), and the terminator.
constexpr size_t kEntryNameBytes = 3 * 255 + 1;

// One folder entry as the scan reports it.
struct DirEntry {
  uint32_t attrib;      // the entry's attribute bits; a plain "normal" file (0x80) shows 0
  int32_t time_create;  // seconds since 1970-01-01 UTC, -1 when the file system keeps none
  int32_t time_access;
  int32_t time_write;
  uint32_t size;        // low 32 bits of the size; 0 for a folder
  char name[kEntryNameBytes];  // the entry's long name, no path, in the call's encoding
  uint32_t size_high;   // the high 32 bits of the size, for totals that go beyond 4 GB
  uint32_t reparse_tag; // the kind of reparse point (link, junction, ...) when attrib has 0x400, else 0
};

// The entry's whole size in bytes.
inline uint64_t FullSize(const DirEntry& entry) { return (uint64_t{entry.size_high} << 32) | entry.size; }

// A scan handle; SCAN_NONE means no scan is open (the start failed).
using ScanHandle = intptr_t;
constexpr ScanHandle SCAN_NONE = -1;

// What a scan fills in. The walks read only names, attributes and sizes; the three time
// stamps (each a conversion to local calendar time) are left at -1 for them.
enum class ScanFields { kAll, kNoTimes };

// Starts a scan of a pattern such as C:\DATA\*.* and fills the first entry. On failure
// returns SCAN_NONE and sets errno: 2 when nothing matches or the path is missing, 12 for
// memory, 22 otherwise.
ScanHandle ScanFirst(const char* pattern, DirEntry* entry, ScanFields fields = ScanFields::kAll);
// Fills the next entry and returns 0, or -1 at the end (errno 2) or on failure.
int ScanNext(ScanHandle handle, DirEntry* entry, ScanFields fields = ScanFields::kAll);
// Ends a scan: 0, or -1 with errno 22 when the handle is not open (harmless).
int ScanClose(ScanHandle handle);

// A scan that lives for one call and is closed on every path.
class ScopedScan {
 public:
  ScopedScan(const char* pattern, DirEntry* entry, ScanFields fields = ScanFields::kAll)
      : handle_(ScanFirst(pattern, entry, fields)), fields_(fields) {}
  ~ScopedScan() { ScanClose(handle_); }
  ScopedScan(const ScopedScan&) = delete;
  ScopedScan& operator=(const ScopedScan&) = delete;
  bool ok() const { return handle_ != SCAN_NONE; }
  bool Next(DirEntry* entry) { return ok() && ScanNext(handle_, entry, fields_) == 0; }

 private:
  ScanHandle handle_;
  ScanFields fields_;
};

// A scan kept open between calls in a process-wide handle (the listing of
// cFilesInDirectory, the listing of cSubDirectory). A new
// start closes the scan left in the handle first and keeps the new handle even when the
// start fails; reaching the end does not close it.
class KeptScan {
 public:
  bool Start(const char* pattern, DirEntry* entry) {
    ScanClose(handle_);
    handle_ = ScanFirst(pattern, entry);
    return handle_ != SCAN_NONE;
  }
  bool Next(DirEntry* entry) { return handle_ != SCAN_NONE && ScanNext(handle_, entry) == 0; }
  void Close() {
    ScanClose(handle_);
    handle_ = SCAN_NONE;
  }

 private:
  ScanHandle handle_ = SCAN_NONE;
};

// The full paths of a scan's entries: the folder part of the pattern (up to and
// including its last separator) followed by each entry's name.
class EntryPath {
 public:
  EntryPath(const char* pattern, size_t folder_part) : path_(pattern, folder_part), prefix_(folder_part) {}
  const char* Of(const DirEntry& entry) {
    path_.resize(prefix_);
    path_.append(entry.name, strnlen(entry.name, sizeof entry.name - 1));
    return path_.c_str();
  }

 private:
  std::string path_;
  size_t prefix_;
};

}  // namespace vnk
