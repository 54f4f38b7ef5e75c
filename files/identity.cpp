// File identity: full-path comparison first, then the file system's own identity.
#include "files/identity.h"

#include <windows.h>

#include <cstring>

#include "frame/ascii_kernel.h"
#include "frame/host.h"

namespace vnk {
namespace {

bool FullPathsEqual(const char* a, const char* b) {
  char full_a[MAX_PATH * 2], full_b[MAX_PATH * 2];
  DWORD na = GetFullPathNameA(a, sizeof full_a, full_a, nullptr);
  DWORD nb = GetFullPathNameA(b, sizeof full_b, full_b, nullptr);
  if (na == 0 || nb == 0 || na >= sizeof full_a || nb >= sizeof full_b) return false;
  if (na != nb) return false;
  return SameBytesIgnoringCase(full_a, full_b, na);
}

bool Identify(const char* name, BY_HANDLE_FILE_INFORMATION* info) {
  UniqueHandle h(CreateFileA(name, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
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
bool FolderAndLeaf(const char* name, char (&folder)[MAX_PATH * 2], char (&leaf)[MAX_PATH * 2]) {
  DWORD n = GetFullPathNameA(name, sizeof folder, folder, nullptr);
  if (n == 0 || n >= sizeof folder) return false;
  while (n > 3 && folder[n - 1] == '\\') folder[--n] = '\0';
  char* slash = folder + n;
  while (slash > folder && *slash != '\\') --slash;
  if (*slash != '\\' || slash[1] == '\0') return false;
  memcpy(leaf, slash + 1, strlen(slash + 1) + 1);
  slash[slash > folder && slash[-1] == ':' ? 1 : 0] = '\0';
  return true;
}

// Whether the two names are one directory entry: the same leaf (ignoring case) in the
// same folder, however the folder is reached.
bool SameEntry(const char* name, const char* other) {
  char folder_a[MAX_PATH * 2], folder_b[MAX_PATH * 2], leaf_a[MAX_PATH * 2], leaf_b[MAX_PATH * 2];
  if (!FolderAndLeaf(name, folder_a, leaf_a) || !FolderAndLeaf(other, folder_b, leaf_b)) return false;
  if (!SameNameIgnoringCase(leaf_a, leaf_b)) return false;
  BY_HANDLE_FILE_INFORMATION a, b;
  return Identify(folder_a, &a) && Identify(folder_b, &b) && SameIdentity(a, b);
}

}  // namespace

bool OtherEntryOfSameFile(const char* name, const char* other) {
  if (GetFileAttributesA(other) == INVALID_FILE_ATTRIBUTES) return false;
  if (FullPathsEqual(name, other)) return false;
  BY_HANDLE_FILE_INFORMATION a, b;
  if (!Identify(name, &a) || !Identify(other, &b) || !SameIdentity(a, b)) return false;
  return !SameEntry(name, other);
}

bool SameExistingFile(const char* name, const char* other) {
  if (GetFileAttributesA(other) == INVALID_FILE_ATTRIBUTES) return false;
  if (FullPathsEqual(name, other)) return true;
  BY_HANDLE_FILE_INFORMATION a, b;
  if (!Identify(name, &a) || !Identify(other, &b)) return false;
  return SameIdentity(a, b);
}

}  // namespace vnk
