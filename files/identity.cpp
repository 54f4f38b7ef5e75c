// File identity: full-path comparison first, then the file system's own identity.
#include "files/identity.h"

#include <windows.h>

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

}  // namespace

bool SameExistingFile(const char* name, const char* other) {
  if (GetFileAttributesA(other) == INVALID_FILE_ATTRIBUTES) return false;
  if (FullPathsEqual(name, other)) return true;
  BY_HANDLE_FILE_INFORMATION a, b;
  if (!Identify(name, &a) || !Identify(other, &b)) return false;
  return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
         a.nFileIndexLow == b.nFileIndexLow;
}

}  // namespace vnk
