// Links among a folder's entries: reparse attributes and tags, and the opened file's
// final path against the folder's own path and the entry's name.
#include "scan/links.h"

#include <windows.h>

#include "frame/host.h"

namespace vnk {
namespace {

using FinalPathFn = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
using SetInfoFn = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);

// The deletion request of SetFileInformationByHandle (Vista's FileDispositionInfo, which
// the XP headers this library builds against do not declare).
constexpr int FILE_DISPOSITION_CLASS = 4;
struct DispositionInfo {
  BOOLEAN delete_file;
};

FARPROC Kernel32(const char* name) { return GetProcAddress(GetModuleHandleA("kernel32.dll"), name); }

// Looked up at run time: Windows XP has neither the services nor file links.
FinalPathFn FinalPathService() {
  static FinalPathFn fn =
      reinterpret_cast<FinalPathFn>(reinterpret_cast<void*>(Kernel32("GetFinalPathNameByHandleA")));
  return fn;
}
SetInfoFn SetInfoService() {
  static SetInfoFn fn = reinterpret_cast<SetInfoFn>(reinterpret_cast<void*>(Kernel32("SetFileInformationByHandle")));
  return fn;
}

constexpr DWORD SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The final path of an open handle; its length, or 0 with the platform's error.
size_t FinalPathOf(HANDLE h, char* out, size_t cap) {
  DWORD n = FinalPathService()(h, out, static_cast<DWORD>(cap), FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (n == 0) return 0;
  if (n >= cap) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return 0;
  }
  return n;
}

// The final path of what opening path reaches, as the deletions open it (a reparse point
// itself, not its target); its length, or 0 with the platform's error.
size_t FinalPath(const char* path, char* out, size_t cap) {
  UniqueHandle h(CreateFileA(path, 0, SHARE_ALL, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (h.get() == INVALID_HANDLE_VALUE) return 0;
  return FinalPathOf(h.get(), out, cap);
}

bool Refuse() {
  SetLastError(ERROR_ACCESS_DENIED);
  return false;
}

}  // namespace

// Any tag but Microsoft's non-surrogates counts, also the meaningless one Wine reports
// for its folder links.
bool IsLink(const DirEntry& entry) {
  if ((entry.attrib & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return false;
  return !(IsReparseTagMicrosoft(entry.reparse_tag) && !IsReparseTagNameSurrogate(entry.reparse_tag));
}

LinkCheck::LinkCheck(std::string_view folder) {
  size_t n = folder.size() < sizeof folder_ ? folder.size() : sizeof folder_ - 1;
  memcpy(folder_, folder.data(), n);
  folder_[n] = '\0';
}

bool LinkCheck::FolderKnown() {
  if (looked_) return final_len_ != 0;
  looked_ = true;
  if (FinalPathService() == nullptr) return false;
  char full[PATH_BUFFER];
  DWORD n = GetFullPathNameA(folder_[0] != '\0' ? folder_ : ".", sizeof full, full, nullptr);
  if (n == 0 || n >= sizeof full) return false;
  final_len_ = FinalPath(full, final_, sizeof final_);
  // A root's final path ends with its backslash; any other folder's gets one here.
  if (final_len_ != 0 && final_[final_len_ - 1] != '\\') final_[final_len_++] = '\\';
  return final_len_ != 0;
}

bool LinkCheck::IsOwnFinalPath(const char* mine, size_t n, const DirEntry& entry) const {
  size_t name_len = strnlen(entry.name, sizeof entry.name - 1);
  return n == final_len_ + name_len && memcmp(mine, final_, final_len_) == 0 &&
         memcmp(mine + final_len_, entry.name, name_len) == 0;
}

bool LinkCheck::Owns(const char* path, const DirEntry& entry) {
  if (IsLink(entry)) return Refuse();
  if (!FolderKnown()) return true;
  char mine[sizeof final_];
  size_t n = FinalPath(path, mine, sizeof mine);
  if (n == 0) return false;
  return IsOwnFinalPath(mine, n, entry) || Refuse();
}

bool LinkCheck::DeleteOwn(const char* path, const DirEntry& entry, bool* refused) {
  *refused = true;
  if (IsLink(entry)) return Refuse();
  if (FolderKnown() && SetInfoService() != nullptr) {
    // Not FILE_FLAG_BACKUP_SEMANTICS: a folder never opens here, as DeleteFileA never
    // takes one.
    UniqueHandle h(CreateFileA(path, DELETE | SYNCHRONIZE, SHARE_ALL, nullptr, OPEN_EXISTING,
                               FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (h.get() != INVALID_HANDLE_VALUE) {
      char mine[sizeof final_];
      size_t n = FinalPathOf(h.get(), mine, sizeof mine);
      if (n == 0) return false;
      if (!IsOwnFinalPath(mine, n, entry)) return Refuse();
      *refused = false;
      // The entry goes when this handle closes, on the way out.
      DispositionInfo disposition = {TRUE};
      return SetInfoService()(h.get(), FILE_DISPOSITION_CLASS, &disposition, sizeof disposition) != FALSE;
    }
    // Where the platform does not open it for deletion, the separate test and delete
    // decide, as everywhere else.
  }
  if (!Owns(path, entry)) return false;
  *refused = false;
  return DeleteFileA(path) != FALSE;
}

bool LinkCheck::RemoveLinkItself(const char* path, const DirEntry& entry) {
  if (FinalPathService() == nullptr || SetInfoService() == nullptr) return RemoveDirectoryA(path) != FALSE;
  if (!FolderKnown()) return false;
  UniqueHandle h(CreateFileA(path, DELETE | SYNCHRONIZE, SHARE_ALL, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (h.get() == INVALID_HANDLE_VALUE) return false;
  char mine[sizeof final_];
  size_t n = FinalPathOf(h.get(), mine, sizeof mine);
  if (n == 0 || !IsOwnFinalPath(mine, n, entry)) return Refuse();
  DispositionInfo disposition = {TRUE};
  return SetInfoService()(h.get(), FILE_DISPOSITION_CLASS, &disposition, sizeof disposition) != FALSE;
}

bool OwnsName(const char* name) {
  // The entry as its folder lists it gives the reparse tag and the name's stored
  // spelling (the caller may have typed another case or a short name).
  DirEntry entry;
  ScopedScan scan(name, &entry);
  if (!scan.ok()) return Refuse();
  char full[PATH_BUFFER];
  char* last = nullptr;
  DWORD n = GetFullPathNameA(name, sizeof full, full, &last);
  if (n == 0 || n >= sizeof full || last == nullptr) return Refuse();
  LinkCheck check(std::string_view(full, static_cast<size_t>(last - full)));
  return check.Owns(name, entry);
}

}  // namespace vnk
