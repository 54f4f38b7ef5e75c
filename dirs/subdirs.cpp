// Listings of a folder tree: every folder below a folder as one text, the folders of
// one folder one per call, and a count of the folders a pattern matches.
#include <cstring>
#include <optional>

#include "frame/host.h"
#include "paths/call_rules.h"
#include "paths/rules_kernel.h"
#include "scan/scan.h"
#include "scan/walk.h"
#include "system/fs.h"
#include "system/text.h"

using namespace vnk;

namespace {

// The kept scan of cSubDirectory, separate from the file listing's and the walk's.
KeptScan g_sub_directory;

BSTR AllSubDirectories(const char* folder, int32_t* count) {
  WalkTable table = CollectSubDirectories(folder);
  if (!table.ok()) {
    *count = RC_NO_MEMORY;
    return EmptyString();
  }
  if (table.count == 0) {
    *count = -1;
    return EmptyString();
  }
  // Each full path followed by a carriage return, the last one too.
  size_t total = 0;
  for (int i = 0; i < table.count; ++i) total += strlen(table.path(i)) + 1;
  BSTR text = SysAllocStringByteLen(nullptr, static_cast<UINT>(total));
  if (text == nullptr) {
    *count = RC_NO_MEMORY;
    return EmptyString();
  }
  char* out = reinterpret_cast<char*>(text);
  for (int i = 0; i < table.count; ++i) {
    size_t n = strlen(table.path(i));
    memcpy(out, table.path(i), n);
    out[n] = '\r';
    out += n + 1;
  }
  *count = table.count;
  return text;
}

int16_t CountDirectories(const char* pattern) {
  if (!FitsCallPath(pattern)) return 0;
  // Each entry is asked about again by its path: the pattern's drive and folder, as the
  // scan read them (a bare "X:" is X's current folder, "C:/T/" a folder), followed by its
  // name. "." and ".." count where the scan lists them.
  EntryPath paths(pattern, DriveAndFolderLength(pattern, CallLeadBytes()));
  int32_t count = 0;
  DirEntry entry;
  ScopedScan scan(pattern, &entry, ScanFields::kNoTimes);
  for (bool have = scan.ok(); have; have = scan.Next(&entry)) {
    DWORD word = sys::Attributes(paths.Of(entry));
    if (word != INVALID_FILE_ATTRIBUTES && (word & ATTR_DIRECTORY)) ++count;
  }
  return static_cast<int16_t>(count);
}

}  // namespace

extern "C" BSTR __stdcall cAllSubDirectories(StrArg folder, int32_t* count) {
  if (AnyNull(count)) return EmptyString();
  std::optional<BSTR> text =
      Shield<std::optional<BSTR>>(std::nullopt, [&] { return AllSubDirectories(folder, count); });
  if (text) return *text;
  *count = RC_NO_MEMORY;
  return EmptyString();
}

extern "C" BSTR __stdcall cSubDirectory(StrArg pattern, int16_t first) {
  // The pattern is read on a first call only; the scan stays open at the end of the
  // list, until the next first call replaces it.
  DirEntry entry;
  bool have = first == -1 ? g_sub_directory.Start(pattern, &entry) : g_sub_directory.Next(&entry);
  for (; have; have = g_sub_directory.Next(&entry))
    if (entry.attrib & ATTR_DIRECTORY) return NewString(entry.name, strnlen(entry.name, sizeof entry.name - 1));
  return EmptyString();
}

extern "C" int16_t __stdcall cCountDirectories(StrArg pattern) {
  return Shield<int16_t>(0, [&] { return CountDirectories(pattern); });
}
