// The directory scan over the platform's find-first/find-next services.
#include "scan/scan.h"

#include <windows.h>

#include "system/fs.h"
#include "system/text.h"

#include <cerrno>
#include <ctime>

namespace vnk {
namespace {

// Stamps are taken to local calendar time and back to the 1970-based count, as the
// runtime's own folder search does; a zero stamp (no such time kept) gives -1.
int32_t CalendarSeconds(const FILETIME& ft) {
  if (ft.dwLowDateTime == 0 && ft.dwHighDateTime == 0) return -1;
  FILETIME local;
  SYSTEMTIME st;
  if (!FileTimeToLocalFileTime(&ft, &local) || !FileTimeToSystemTime(&local, &st)) return -1;
  struct tm tm = {};
  tm.tm_year = st.wYear - 1900;
  tm.tm_mon = st.wMonth - 1;
  tm.tm_mday = st.wDay;
  tm.tm_hour = st.wHour;
  tm.tm_min = st.wMinute;
  tm.tm_sec = st.wSecond;
  tm.tm_isdst = -1;
  time_t t = mktime(&tm);
  // A moment the 32-bit count cannot hold reads as "no time kept", never as a wrong date.
  if (t < 0 || t > INT32_MAX) return -1;
  return static_cast<int32_t>(t);
}

void Fill(const WIN32_FIND_DATAW& fd, DirEntry* entry, ScanFields fields) {
  entry->attrib = fd.dwFileAttributes == FILE_ATTRIBUTE_NORMAL ? 0 : fd.dwFileAttributes;
  bool times = fields == ScanFields::kAll;
  entry->time_create = times ? CalendarSeconds(fd.ftCreationTime) : -1;
  entry->time_access = times ? CalendarSeconds(fd.ftLastAccessTime) : -1;
  entry->time_write = times ? CalendarSeconds(fd.ftLastWriteTime) : -1;
  entry->size = fd.nFileSizeLow;
  entry->size_high = fd.nFileSizeHigh;
  // The find data's first reserved word holds the tag only for a reparse point.
  entry->reparse_tag = (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? fd.dwReserved0 : 0;
  NarrowInto(fd.cFileName, entry->name, sizeof entry->name);
}

void SetScanErrno() {
  DWORD e = GetLastError();
  if (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND || e == ERROR_NO_MORE_FILES)
    errno = ENOENT;
  else if (e == ERROR_NOT_ENOUGH_MEMORY)
    errno = ENOMEM;
  else
    errno = EINVAL;
}

}  // namespace

ScanHandle ScanFirst(const char* pattern, DirEntry* entry, ScanFields fields) {
  WIN32_FIND_DATAW fd;
  HANDLE h = sys::FindFirst(pattern, &fd);
  if (h == INVALID_HANDLE_VALUE) {
    SetScanErrno();
    return SCAN_NONE;
  }
  Fill(fd, entry, fields);
  return reinterpret_cast<ScanHandle>(h);
}

int ScanNext(ScanHandle handle, DirEntry* entry, ScanFields fields) {
  WIN32_FIND_DATAW fd;
  if (handle == SCAN_NONE || !FindNextFileW(reinterpret_cast<HANDLE>(handle), &fd)) {
    SetScanErrno();
    return -1;
  }
  Fill(fd, entry, fields);
  return 0;
}

int ScanClose(ScanHandle handle) {
  if (handle == SCAN_NONE || !FindClose(reinterpret_cast<HANDLE>(handle))) {
    errno = EINVAL;
    return -1;
  }
  return 0;
}

}  // namespace vnk
