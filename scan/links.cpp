// Links among a folder's entries: reparse attributes and tags, and the opened file's
// final path against the folder's own path and the entry's name.
#include "scan/links.h"

#include <windows.h>

#include "frame/host.h"
#include "paths/call_rules.h"
#include "paths/path_kernel.h"
#include "system/fs.h"
#include "system/text.h"

namespace vnk {
namespace {

using FinalPathFn = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
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
      reinterpret_cast<FinalPathFn>(reinterpret_cast<void*>(Kernel32("GetFinalPathNameByHandleW")));
  return fn;
}
SetInfoFn SetInfoService() {
  static SetInfoFn fn = reinterpret_cast<SetInfoFn>(reinterpret_cast<void*>(Kernel32("SetFileInformationByHandle")));
  return fn;
}

constexpr DWORD SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The final path of an open handle in the call's encoding; false with the platform's
// error when there is none. It is compared byte for byte with the folder's final path and
// an entry's name, both in the same encoding.
bool FinalPathOf(HANDLE h, std::string* out) {
  std::wstring wide;
  auto fill = [h](wchar_t* buffer, DWORD size) {
    return FinalPathService()(h, buffer, size, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  };
  if (!sys::ReadWide(&wide, MAX_PATH, fill)) return false;
  out->clear();
  return sys::NarrowForCall(wide, out);
}

// The final path of what opening path reaches, as the deletions open it (a reparse point
// itself, not its target); false with the platform's error.
bool FinalPath(const char* path, std::string* out) {
  UniqueHandle h(
      sys::OpenFile(path, 0, SHARE_ALL, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT));
  if (h.get() == INVALID_HANDLE_VALUE) return false;
  return FinalPathOf(h.get(), out);
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

LinkCheck::LinkCheck(std::string_view folder) : folder_(folder) {}

bool LinkCheck::FolderKnown() {
  if (looked_) return !final_.empty();
  looked_ = true;
  if (FinalPathService() == nullptr) return false;
  // A folder whose full path passes the call's limit is not asked about.
  std::string full;
  if (!sys::FullPath(!folder_.empty() ? folder_.c_str() : ".", &full) || full.size() > CallPathLimit()) return false;
  if (!FinalPath(full.c_str(), &final_)) {
    final_.clear();
    return false;
  }
  // A root's final path ends with its backslash; any other folder's gets one here.
  if (!final_.empty() && !EndsWithSeparator(final_, CallLeadBytes())) final_.push_back('\\');
  return !final_.empty();
}

bool LinkCheck::IsOwnFinalPath(const std::string& mine, const DirEntry& entry) const {
  size_t name_len = strnlen(entry.name, sizeof entry.name - 1);
  return mine.size() == final_.size() + name_len && mine.compare(0, final_.size(), final_) == 0 &&
         mine.compare(final_.size(), name_len, entry.name, name_len) == 0;
}

bool LinkCheck::Owns(const char* path, const DirEntry& entry) {
  if (IsLink(entry)) return Refuse();
  if (!FolderKnown()) return true;
  std::string mine;
  if (!FinalPath(path, &mine)) return false;
  return IsOwnFinalPath(mine, entry) || Refuse();
}

bool LinkCheck::DeleteOwn(const char* path, const DirEntry& entry, bool* refused) {
  *refused = true;
  if (IsLink(entry)) return Refuse();
  if (FolderKnown() && SetInfoService() != nullptr) {
    // Not FILE_FLAG_BACKUP_SEMANTICS: a folder never opens here, as a file deletion never
    // takes one.
    UniqueHandle h(sys::OpenFile(path, DELETE | SYNCHRONIZE, SHARE_ALL, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT));
    if (h.get() != INVALID_HANDLE_VALUE) {
      std::string mine;
      if (!FinalPathOf(h.get(), &mine)) return false;
      if (!IsOwnFinalPath(mine, entry)) return Refuse();
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
  return sys::DeleteFile(path) != FALSE;
}

bool LinkCheck::RemoveLinkItself(const char* path, const DirEntry& entry) {
  if (FinalPathService() == nullptr || SetInfoService() == nullptr) return sys::RemoveFolder(path) != FALSE;
  if (!FolderKnown()) return false;
  UniqueHandle h(sys::OpenFile(path, DELETE | SYNCHRONIZE, SHARE_ALL, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT));
  if (h.get() == INVALID_HANDLE_VALUE) return false;
  std::string mine;
  if (!FinalPathOf(h.get(), &mine) || !IsOwnFinalPath(mine, entry)) return Refuse();
  DispositionInfo disposition = {TRUE};
  return SetInfoService()(h.get(), FILE_DISPOSITION_CLASS, &disposition, sizeof disposition) != FALSE;
}

bool OwnsName(const char* name) {
  // The entry as its folder lists it gives the reparse tag and the name's stored
  // spelling (the caller may have typed another case or a short name).
  DirEntry entry;
  ScopedScan scan(name, &entry);
  if (!scan.ok()) return Refuse();
  std::string full;
  size_t last = std::string::npos;
  if (!sys::FullPath(name, &full, &last) || full.size() > CallPathLimit() || last == std::string::npos)
    return Refuse();
  LinkCheck check(std::string_view(full).substr(0, last));
  return check.Owns(name, entry);
}

}  // namespace vnk
