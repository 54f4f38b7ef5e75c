// The one layer between the library and the platform's file services. Every name goes in
// as a byte string in the call's encoding (system/text.h) and reaches the platform's
// wide-character services as UTF-16; a path too long for the platform's plain form
// (MAX_PATH units and more) is made full and given the "\\?\" (or "\\?\UNC\") prefix
// here, so that the rest of the library never sees it. Names the platform hands back
// (folder entries, full paths, the current folder) come out in the call's encoding.
// Each function keeps the result convention and the thread's last error of the
// platform service it stands for.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>

namespace vnk::sys {

// A path in the form the wide services take. Short paths are only converted; a longer
// one is made full first. ok() is false when the text cannot be converted or the full
// path cannot be had; get() is then "" (which every service refuses).
class WidePath {
 public:
  // prefix_from: the length from which the path takes the long form; folder creation
  // needs room for an 8.3 name below the folder and asks for it 12 units earlier.
  explicit WidePath(const char* path, size_t prefix_from = MAX_PATH);
  const wchar_t* get() const { return text_.c_str(); }
  bool ok() const { return ok_; }

 private:
  std::wstring text_;
  bool ok_ = false;
};

HANDLE OpenFile(const char* path, DWORD access, DWORD share, DWORD disposition, DWORD flags);
DWORD Attributes(const char* path);
BOOL AttributesEx(const char* path, WIN32_FILE_ATTRIBUTE_DATA* data);
BOOL SetAttributes(const char* path, DWORD attributes);
BOOL DeleteFile(const char* path);
BOOL RemoveFolder(const char* path);
BOOL MakeFolder(const char* path);
BOOL MoveFile(const char* from, const char* to, DWORD flags = 0);
BOOL CopyFile(const char* from, const char* to, BOOL fail_if_exists);
BOOL SetCurrentFolder(const char* path);
// root may be null for the current drive's root, as the platform takes it.
UINT DriveType(const char* root);
BOOL DiskFreeSpace(const char* root, DWORD* sectors_per_cluster, DWORD* bytes_per_sector, DWORD* free_clusters,
                   DWORD* total_clusters);

// The current folder, or false (last error set).
bool CurrentFolder(std::string* out);

// The full path of path, as GetFullPathName makes it; file_part receives the offset of
// its last component (npos when it ends with a separator). False with the last error set
// when there is none.
bool FullPath(const char* path, std::string* out, size_t* file_part = nullptr);

// The runtime's stream open (fopen's modes) for a name in the call's encoding.
FILE* OpenStream(const char* path, const char* mode);

// The runtime's low-level open (_sopen's flags, sharing and permission) for a name in the
// call's encoding: a descriptor, or -1 with errno set.
int OpenDescriptor(const char* path, int flags, int share, int permission = 0);

// A folder scan: the pattern may be as long as any path. FindNext and FindClose are the
// platform's, on the handle this returns.
HANDLE FindFirst(const char* pattern, WIN32_FIND_DATAW* data);

// A wide string from a platform service that fills a buffer: fill(buffer, capacity)
// answers the units written (less than capacity), the capacity needed (terminator
// included) when the buffer is too small, or 0 on failure. The buffer starts at first
// units and grows as asked; false with the platform's error, or ERROR_FILENAME_EXCED_RANGE
// when the answer keeps growing.
template <class Fill>
bool ReadWide(std::wstring* out, DWORD first, Fill fill) {
  DWORD need = first;
  for (int tries = 0; need != 0 && tries < 3; ++tries) {
    out->resize(need);
    DWORD n = fill(&(*out)[0], need);
    if (n == 0) return false;
    if (n < need) {
      out->resize(n);
      return true;
    }
    need = n;
  }
  if (need != 0) SetLastError(ERROR_FILENAME_EXCED_RANGE);
  return false;
}

// Appends wide text to out in the call's encoding; false with
// ERROR_NO_UNICODE_TRANSLATION when it cannot be converted.
bool NarrowForCall(std::wstring_view text, std::string* out);

}  // namespace vnk::sys
