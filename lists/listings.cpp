// Listings of one directory: cFilesInDirectory (one name per call), cFilesInDirToArray
// (into a host array of strings) and cFilesInDirOnDisk (into a list file).
#include <limits>

#include "dirs/kill.h"
#include "frame/host.h"
#include "lists/attr_filter_kernel.h"
#include "lists/string_array.h"
#include "paths/call_rules.h"
#include "paths/rules_kernel.h"
#include "paths/validate_kernel.h"
#include "scan/scan.h"
#include "system/fs.h"
#include "system/text.h"

namespace vnk {
namespace {

// The listing that cFilesInDirectory continues from one call to the next.
KeptScan g_listing;

// The pattern a bulk listing scans: "*.*" (the current directory) for an empty one.
// Null when the pattern is longer than the call's longest path.
const char* BulkPattern(const char* pattern) {
  if (!FitsCallPath(pattern)) return nullptr;
  return pattern[0] == '\0' ? "*.*" : pattern;
}

// Counts are host Integers; a listing of more than 32767 names reports 32767.
void CountOne(int16_t* count) {
  if (*count < std::numeric_limits<int16_t>::max()) ++*count;
}

bool IsFolder(const DirEntry& e) { return (e.attrib & ATTR_DIRECTORY) != 0; }

BSTR FilesInDirectory(const char* pattern, bool first) {
  DirEntry entry;
  if (first) {
    // A pattern too long for a path abandons the listing under way like any first call,
    // and finds nothing.
    if (!FitsCallPath(pattern)) {
      g_listing.Close();
      return EmptyString();
    }
    if (!g_listing.Start(pattern, &entry)) return EmptyString();
  } else if (!g_listing.Next(&entry)) {
    return EmptyString();
  }
  while (IsFolder(entry))
    if (!g_listing.Next(&entry)) return EmptyString();
  return NewString(entry.name, strlen(entry.name));
}

int16_t FilesInDirToArray(const char* pattern, int16_t filter, SAFEARRAY* names) {
  LONG lower = 0, upper = -1;
  if (!StringArrayBounds(names, &lower, &upper)) return LIST_NOTHING;
  const char* scan_pattern = BulkPattern(pattern);
  if (scan_pattern == nullptr) return LIST_NOTHING;

  DirEntry entry;
  ScopedScan scan(scan_pattern, &entry);
  if (!scan.ok()) return LIST_NOTHING;

  int16_t count = 0;
  LONG next = lower;
  // The array is never resized: names beyond its upper bound are not stored, and the
  // scan stops as soon as the array is full (an empty array takes none).
  for (bool more = true; more && next <= upper; more = scan.Next(&entry)) {
    if (!FilterTakes(entry.attrib, filter)) continue;
    if (!PutString(names, next, std::string_view(entry.name))) break;
    ++next;
    CountOne(&count);
  }
  for (LONG i = next; i <= upper; ++i) PutString(names, i, {});
  return count;
}

int16_t FilesInDirOnDisk(const char* list_file, const char* pattern, int16_t filter) {
  if (list_file[0] == '\0') return LIST_NOTHING;
  if (!FitsCallPath(list_file) || ValidateFileName(list_file, CallUnits()) != NAME_VALID) return LIST_BAD_NAME;
  // A pattern too long for a path finds nothing; it is refused before the list file
  // is touched.
  const char* scan_pattern = BulkPattern(pattern);
  if (scan_pattern == nullptr) return LIST_NOTHING;

  // The list file is created before the scan starts, so when it lies in the listed
  // folder and matches the pattern it lists itself.
  if (KillFileAll(list_file) != VB_TRUE) return LIST_CANT_REMOVE;
  UniqueFile out(sys::OpenStream(list_file, "w+b"));
  if (!out) return static_cast<int16_t>(RC_CANT_OPEN_FIRST);

  DirEntry entry;
  ScopedScan scan(scan_pattern, &entry);
  if (!scan.ok()) return LIST_NOTHING;  // the list file stays, empty

  int32_t result = 0;
  int16_t count = 0;
  char line[sizeof entry.name + 2];
  for (bool more = true; more; more = scan.Next(&entry)) {
    if (!FilterTakes(entry.attrib, filter)) continue;
    size_t n = strlen(entry.name);
    memcpy(line, entry.name, n);
    line[n++] = '\r';
    line[n++] = '\n';
    size_t written = fwrite(line, 1, n, out.get());
    if (ferror(out.get())) { result = RC_WRITE_FAILED; break; }
    if (written != n) { result = RC_WRITE_SHORT; break; }
    CountOne(&count);
  }
  // The last lines leave the stream's buffer only now; a disk that fills up at this
  // point is a failed write, not a complete listing.
  if (fclose(out.release()) != 0 && result == 0) result = RC_WRITE_FAILED;
  return static_cast<int16_t>(result < 0 ? result : count);
}

}  // namespace
}  // namespace vnk

using namespace vnk;

extern "C" BSTR __stdcall cFilesInDirectory(StrArg pattern, int16_t first_call) {
  BSTR name = Shield<BSTR>(nullptr, [&] { return FilesInDirectory(pattern, first_call == VB_TRUE); });
  return name != nullptr ? name : EmptyString();
}

extern "C" int16_t __stdcall cFilesInDirToArray(StrArg pattern, int16_t filter, SAFEARRAY** names) {
  if (AnyNull(names)) return LIST_NOTHING;  // as for an array that cannot take names
  return Shield<int16_t>(LIST_NOTHING, [&] { return FilesInDirToArray(pattern, filter, *names); });
}

extern "C" int16_t __stdcall cFilesInDirOnDisk(StrArg list_file, StrArg pattern, int16_t filter) {
  return Shield<int16_t>(static_cast<int16_t>(RC_NO_MEMORY),
                         [&] { return FilesInDirOnDisk(list_file, pattern, filter); });
}
