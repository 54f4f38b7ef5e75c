// The file-service layer over the platform's wide-character functions.
#include "system/fs.h"

#include <io.h>

#include <cerrno>

#include "system/text.h"

namespace vnk::sys {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// The full path of a wide path, or false.
bool FullWide(const wchar_t* path, std::wstring* out) {
  return ReadWide(out, GetFullPathNameW(path, 0, nullptr, nullptr),
                  [path](wchar_t* buffer, DWORD size) { return GetFullPathNameW(path, size, buffer, nullptr); });
}

// A name converted for a service that takes no long form (the current folder, the full
// path); false, with the platform's error, where WidePath refuses it too.
bool WideName(const char* path, std::wstring* out) {
  if (!Widen(path, CallCodePage(), out)) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return false;
  }
  if (CurrentEncoding() == CallEncoding::kAnsi && out->size() >= MAX_PATH) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return false;
  }
  return true;
}

}  // namespace

WidePath::WidePath(const char* path, size_t prefix_from) {
  if (!Widen(path, CallCodePage(), &text_)) {
    text_.clear();
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return;
  }
  // An ANSI call keeps the limit of the platform's ANSI services, which refuse a name of
  // MAX_PATH characters or more before looking at it (the long form included).
  if (CurrentEncoding() == CallEncoding::kAnsi && text_.size() >= MAX_PATH) {
    text_.clear();
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return;
  }
  ok_ = true;
  // Long paths, and only they, take the form that lifts the limit. Such a form is taken
  // literally by the platform, so it is made from the full path ("." and ".." resolved,
  // "/" turned into "\").
  if (text_.size() < prefix_from || text_.compare(0, 4, L"\\\\?\\") == 0) return;
  std::wstring full;
  if (!FullWide(text_.c_str(), &full)) {
    text_.clear();
    ok_ = false;
    return;
  }
  if (full.size() >= 2 && IsSeparator(full[0]) && IsSeparator(full[1])) {
    if (full.size() >= 4 && (full[2] == L'?' || full[2] == L'.') && IsSeparator(full[3])) {
      text_ = full;  // already a device or long form
    } else {
      text_ = L"\\\\?\\UNC\\";
      text_.append(full, 2, std::wstring::npos);
    }
  } else {
    text_ = L"\\\\?\\";
    text_ += full;
  }
}

HANDLE OpenFile(const char* path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
  WidePath w(path);
  if (!w.ok()) return INVALID_HANDLE_VALUE;
  return CreateFileW(w.get(), access, share, nullptr, disposition, flags, nullptr);
}

DWORD Attributes(const char* path) {
  WidePath w(path);
  return w.ok() ? GetFileAttributesW(w.get()) : INVALID_FILE_ATTRIBUTES;
}

BOOL AttributesEx(const char* path, WIN32_FILE_ATTRIBUTE_DATA* data) {
  WidePath w(path);
  if (!w.ok()) return FALSE;
  return GetFileAttributesExW(w.get(), GetFileExInfoStandard, data);
}

BOOL SetAttributes(const char* path, DWORD attributes) {
  WidePath w(path);
  return w.ok() && SetFileAttributesW(w.get(), attributes);
}

BOOL DeleteFile(const char* path) {
  WidePath w(path);
  return w.ok() && DeleteFileW(w.get());
}

BOOL RemoveFolder(const char* path) {
  WidePath w(path);
  return w.ok() && RemoveDirectoryW(w.get());
}

BOOL MakeFolder(const char* path) {
  WidePath w(path, MAX_PATH - 12);
  return w.ok() && CreateDirectoryW(w.get(), nullptr);
}

BOOL MoveFile(const char* from, const char* to, DWORD flags) {
  WidePath a(from);
  if (!a.ok()) return FALSE;
  WidePath b(to);
  if (!b.ok()) return FALSE;
  return flags == 0 ? MoveFileW(a.get(), b.get()) : MoveFileExW(a.get(), b.get(), flags);
}

BOOL CopyFile(const char* from, const char* to, BOOL fail_if_exists) {
  WidePath a(from);
  if (!a.ok()) return FALSE;
  WidePath b(to);
  if (!b.ok()) return FALSE;
  return CopyFileW(a.get(), b.get(), fail_if_exists);
}

BOOL SetCurrentFolder(const char* path) {
  std::wstring w;
  return WideName(path, &w) && SetCurrentDirectoryW(w.c_str());
}

UINT DriveType(const char* root) {
  WidePath w(root != nullptr ? root : "");
  return GetDriveTypeW(root != nullptr ? w.get() : nullptr);
}

BOOL DiskFreeSpace(const char* root, DWORD* sectors_per_cluster, DWORD* bytes_per_sector, DWORD* free_clusters,
                   DWORD* total_clusters) {
  WidePath w(root != nullptr ? root : "");
  return GetDiskFreeSpaceW(root != nullptr ? w.get() : nullptr, sectors_per_cluster, bytes_per_sector,
                           free_clusters, total_clusters);
}

bool NarrowForCall(std::wstring_view text, std::string* out) {
  if (Narrow(text, CallCodePage(), out)) return true;
  SetLastError(ERROR_NO_UNICODE_TRANSLATION);
  return false;
}

bool CurrentFolder(std::string* out) {
  std::wstring w;
  auto fill = [](wchar_t* buffer, DWORD size) { return GetCurrentDirectoryW(size, buffer); };
  if (!ReadWide(&w, GetCurrentDirectoryW(0, nullptr), fill)) return false;
  out->clear();
  return NarrowForCall(w, out);
}

bool FullPath(const char* path, std::string* out, size_t* file_part) {
  std::wstring w, full;
  if (!WideName(path, &w) || !FullWide(w.c_str(), &full)) return false;
  out->clear();
  // The last component is found in UTF-16, where no unit of a character is a "\".
  size_t last = full.find_last_of(L"\\/");
  size_t cut = last == std::wstring::npos ? 0 : last + 1;
  if (!NarrowForCall(std::wstring_view(full).substr(0, cut), out)) return false;
  size_t folder_bytes = out->size();
  if (!NarrowForCall(std::wstring_view(full).substr(cut), out)) return false;
  if (file_part != nullptr) *file_part = cut == full.size() ? std::string::npos : folder_bytes;
  return true;
}

FILE* OpenStream(const char* path, const char* mode) {
  WidePath w(path);
  if (!w.ok()) {
    errno = ENOENT;
    return nullptr;
  }
  wchar_t wmode[8] = {};
  for (size_t i = 0; i + 1 < sizeof wmode / sizeof wmode[0] && mode[i] != '\0'; ++i) wmode[i] = mode[i];
  return _wfopen(w.get(), wmode);
}

int OpenDescriptor(const char* path, int flags, int share, int permission) {
  WidePath w(path);
  if (!w.ok()) {
    errno = ENOENT;
    return -1;
  }
  return _wsopen(w.get(), flags, share, permission);
}

HANDLE FindFirst(const char* pattern, WIN32_FIND_DATAW* data) {
  WidePath w(pattern);
  return w.ok() ? FindFirstFileW(w.get(), data) : INVALID_HANDLE_VALUE;
}

}  // namespace vnk::sys
