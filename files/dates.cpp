// File dates and times: the six text exports over FileDateText and FileTimeText, and
// cCmpFileTime.
#include <cstdlib>
#include <ctime>
#include <string>

#include "files/size.h"
#include "frame/host.h"
#include "paths/rules_kernel.h"
#include "system/fs.h"
#include "system/text.h"

namespace vnk {
namespace {

// Which stamp a text export reports.
enum class Stamp { Created, Accessed, Written };

// The three stamps of a file, whole seconds since 1970-01-01 UTC; earlier stamps are
// negative.
struct Stamps {
  int64_t created, accessed, written;
};

// A file system stamp (100-nanosecond ticks since 1601-01-01 UTC) as whole seconds since
// 1970-01-01 UTC, rounded down so that a stamp just before 1970 stays before it. The
// runtime's status query cannot carry a stamp before 1970; this conversion carries all.
int64_t UnixSeconds(const FILETIME& ft) {
  constexpr int64_t kTicksPerSecond = 10000000;
  constexpr int64_t kTicksTo1970 = 116444736000000000;  // 1601 to 1970
  int64_t ticks = static_cast<int64_t>((uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime) - kTicksTo1970;
  int64_t seconds = ticks / kTicksPerSecond;
  return (ticks % kTicksPerSecond < 0) ? seconds - 1 : seconds;
}

// The file's three stamps. False when its status cannot be read; wildcards and a bare
// drive ("C:") are refused as the runtime's own query refuses them. A root folder has no
// stamps of its own: callers are given 1980-01-01 00:00:00 local time for all three, as
// the runtime's query fabricates them, whichever runtime the library runs on.
bool ReadStamps(const char* name, Stamps* out) {
  if (StatusQueryRefuses(name)) return false;
  // A full path longer than the call's paths is no root, as one that did not fit the
  // runtime's path buffer never was.
  std::string full;
  if (std::strpbrk(name, "./\\") != nullptr && sys::FullPath(name, &full) && full.size() <= CallPathLimit() &&
      IsRoot(full.c_str())) {
    if (sys::DriveType(full.c_str()) <= DRIVE_NO_ROOT_DIR) return false;
    struct tm tm = {};
    tm.tm_year = 80;
    tm.tm_mday = 1;
    tm.tm_isdst = -1;
    int64_t t = _mktime64(&tm);
    *out = {t, t, t};
    return true;
  }
  // The status query decides which names can be examined, as for every other question
  // about a file; the stamps themselves are the file system's own.
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!FileStatus(name, &data)) return false;
  // A stamp the file system does not keep (zero) reads as the write time, as callers
  // have always been given it; a stamp that is kept is never replaced by another.
  auto kept = [](const FILETIME& ft) { return ft.dwLowDateTime != 0 || ft.dwHighDateTime != 0; };
  int64_t written = UnixSeconds(data.ftLastWriteTime);
  out->written = written;
  out->created = kept(data.ftCreationTime) ? UnixSeconds(data.ftCreationTime) : written;
  out->accessed = kept(data.ftLastAccessTime) ? UnixSeconds(data.ftLastAccessTime) : written;
  return true;
}

// The chosen stamp broken down into local calendar time. False when the 1970-based
// 32-bit count cannot hold it (before 1970, after early 2038): the caller then gets no
// text rather than a date that is not the file's.
bool LocalStamp(const char* name, Stamp which, SYSTEMTIME* out) {
  Stamps st;
  if (!ReadStamps(name, &st)) return false;
  __time64_t t = which == Stamp::Created ? st.created : which == Stamp::Accessed ? st.accessed : st.written;
  if (t < 0 || t > 0x7FFFFFFF) return false;
  struct tm* tm = _localtime64(&t);
  if (tm == nullptr) return false;
  *out = SYSTEMTIME{};
  out->wYear = static_cast<WORD>(tm->tm_year + 1900);
  out->wMonth = static_cast<WORD>(tm->tm_mon + 1);
  out->wDayOfWeek = static_cast<WORD>(tm->tm_wday);
  out->wDay = static_cast<WORD>(tm->tm_mday);
  out->wHour = static_cast<WORD>(tm->tm_hour);
  out->wMinute = static_cast<WORD>(tm->tm_min);
  out->wSecond = static_cast<WORD>(tm->tm_sec);
  return true;
}

// The system locale's own short date or time format; the user's overrides in the
// regional settings are ignored, so every user of a machine gets the same text.
constexpr LCID kLocale = LOCALE_SYSTEM_DEFAULT;
constexpr DWORD kFlags = LOCALE_NOUSEROVERRIDE;
constexpr size_t kTextBuffer = 256;

// The text comes in the call's encoding: for an ANSI call the system locale's code page,
// the very bytes the ANSI formatting services give, and no text that would not fit their
// buffer.
BSTR StampText(const char* name, Stamp which, bool date) {
  SYSTEMTIME st;
  if (!LocalStamp(name, which, &st)) return EmptyString();
  if (date) st.wHour = st.wMinute = st.wSecond = 0;
  wchar_t wide[kTextBuffer] = {};
  int n = date ? GetDateFormatW(kLocale, kFlags, &st, nullptr, wide, kTextBuffer)
               : GetTimeFormatW(kLocale, kFlags, &st, nullptr, wide, kTextBuffer);
  if (n <= 0) return EmptyString();
  std::string text;
  if (!Narrow(std::wstring_view(wide, wcsnlen(wide, kTextBuffer)), CallCodePage(), &text)) return EmptyString();
  if (CurrentEncoding() == CallEncoding::kAnsi && text.size() >= kTextBuffer) return EmptyString();
  return NewString(text);
}

BSTR ShieldedStampText(const char* name, Stamp which, bool date) {
  BSTR text = Shield<BSTR>(nullptr, [&] { return StampText(name, which, date); });
  return text != nullptr ? text : EmptyString();
}

BSTR FileDateText(const char* name, Stamp which) { return ShieldedStampText(name, which, true); }
BSTR FileTimeText(const char* name, Stamp which) { return ShieldedStampText(name, which, false); }

}  // namespace

}  // namespace vnk

using namespace vnk;

extern "C" BSTR __stdcall cFileDateCreated(StrArg file) { return FileDateText(file, Stamp::Created); }
extern "C" BSTR __stdcall cFileLastDateAccess(StrArg file) { return FileDateText(file, Stamp::Accessed); }
extern "C" BSTR __stdcall cFileLastDateModified(StrArg file) { return FileDateText(file, Stamp::Written); }
extern "C" BSTR __stdcall cFileTimeCreated(StrArg file) { return FileTimeText(file, Stamp::Created); }
extern "C" BSTR __stdcall cFileLastTimeAccess(StrArg file) { return FileTimeText(file, Stamp::Accessed); }
extern "C" BSTR __stdcall cFileLastTimeModified(StrArg file) { return FileTimeText(file, Stamp::Written); }

extern "C" int16_t __stdcall cCmpFileTime(StrArg first, StrArg second) {
  return Shield(CMP_CANT_EXAMINE, [&] {
    Stamps a, b;
    if (!ReadStamps(first, &a)) return CMP_CANT_EXAMINE;
    if (!ReadStamps(second, &b)) return CMP_CANT_EXAMINE;
    // Whole seconds, before 1970 as after: two files written within the same second
    // compare equal.
    if (a.written > b.written) return int16_t{1};
    return a.written < b.written ? int16_t{-1} : int16_t{0};
  });
}
