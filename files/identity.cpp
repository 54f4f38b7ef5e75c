// File identity: full-path comparison first, then the file system's own identity.
#include "files/identity.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "frame/ascii_kernel.h"
#include "frame/host.h"
#include "paths/call_rules.h"
#include "paths/path_kernel.h"
#include "system/fs.h"
#include "system/text.h"

namespace vnk {
namespace {

// The full path of name, or false when there is none or it is longer than the paths
// compared here: up to twice the plain limit for an ANSI call (a relative name can make
// a full path longer than itself), any path the platform takes for a twin's call.
bool FullPathOf(const char* name, std::string* full) {
  return sys::FullPath(name, full) && full->size() < std::max<size_t>(2 * MAX_PATH, CallPathLimit() + 1);
}

bool FullPathsEqual(const char* a, const char* b) {
  std::string full_a, full_b;
  if (!FullPathOf(a, &full_a) || !FullPathOf(b, &full_b)) return false;
  if (full_a.size() != full_b.size()) return false;
  return SameBytesIgnoringCase(full_a.data(), full_b.data(), full_a.size());
}

bool Identify(const char* name, BY_HANDLE_FILE_INFORMATION* info) {
  UniqueHandle h(sys::OpenFile(name, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS));
  if (h.get() == INVALID_HANDLE_VALUE) return false;
  return GetFileInformationByHandle(h.get(), info) != 0;
}

bool SameIdentity(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
  return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
         a.nFileIndexLow == b.nFileIndexLow;
}

// The full path of name cut into its folder (a drive's root keeps its backslash: "C:"
// alone would name the drive's current folder) and its last component. False when the
// path has no last component or does not fit.
bool FolderAndLeaf(const char* name, std::string* folder, std::string* leaf) {
  if (!FullPathOf(name, folder)) return false;
  const LeadBytes& lead = CallLeadBytes();
  while (folder->size() > 3 && EndsWithSeparator(*folder, lead)) folder->pop_back();
  size_t slash = std::string::npos;
  for (size_t i = 0; i < folder->size(); i += CharLength(*folder, i, lead))
    if (IsSeparator((*folder)[i])) slash = i;
  if (slash == std::string::npos || slash + 1 == folder->size()) return false;
  leaf->assign(*folder, slash + 1, std::string::npos);
  folder->resize(slash > 0 && (*folder)[slash - 1] == ':' ? slash + 1 : slash);
  return true;
}

// Whether the two names are one directory entry: the same leaf (ignoring case) in the
// same folder, however the folder is reached.
bool SameEntry(const char* name, const char* other) {
  std::string folder_a, folder_b, leaf_a, leaf_b;
  if (!FolderAndLeaf(name, &folder_a, &leaf_a) || !FolderAndLeaf(other, &folder_b, &leaf_b)) return false;
  if (!SameNameIgnoringCase(leaf_a.c_str(), leaf_b.c_str())) return false;
  BY_HANDLE_FILE_INFORMATION a, b;
  return Identify(folder_a.c_str(), &a) && Identify(folder_b.c_str(), &b) && SameIdentity(a, b);
}

}  // namespace

bool OtherEntryOfSameFile(const char* name, const char* other) {
  if (sys::Attributes(other) == INVALID_FILE_ATTRIBUTES) return false;
  if (FullPathsEqual(name, other)) return false;
  BY_HANDLE_FILE_INFORMATION a, b;
  if (!Identify(name, &a) || !Identify(other, &b) || !SameIdentity(a, b)) return false;
  return !SameEntry(name, other);
}

bool SameExistingFile(const char* name, const char* other) {
  if (sys::Attributes(other) == INVALID_FILE_ATTRIBUTES) return false;
  if (FullPathsEqual(name, other)) return true;
  BY_HANDLE_FILE_INFORMATION a, b;
  if (!Identify(name, &a) || !Identify(other, &b)) return false;
  return SameIdentity(a, b);
}

}  // namespace vnk
