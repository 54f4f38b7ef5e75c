// File dates and times as text: each of the six exports against the platform's own
// formatting of the same stamp, roots, refusals, and cCmpFileTime's one-second rule.
#include "tests/win/harness.h"

namespace vnk::test {
namespace {

FILETIME Utc(WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s, WORD ms = 0) {
  SYSTEMTIME st{};
  st.wYear = y;
  st.wMonth = mo;
  st.wDay = d;
  st.wHour = h;
  st.wMinute = mi;
  st.wSecond = s;
  st.wMilliseconds = ms;
  FILETIME ft;
  SystemTimeToFileTime(&st, &ft);
  return ft;
}

void SetTimes(const std::string& path, const FILETIME* created, const FILETIME* accessed, const FILETIME* written) {
  HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  ASSERT_TRUE(SetFileTime(h, created, accessed, written));
  CloseHandle(h);
}

// The platform's short date and time texts of a stamp, in the system locale without
// user overrides, at whole seconds in local time.
std::string Formatted(const FILETIME& utc, bool date) {
  SYSTEMTIME u, local;
  FileTimeToSystemTime(&utc, &u);
  SystemTimeToTzSpecificLocalTime(nullptr, &u, &local);
  local.wMilliseconds = 0;
  if (date) local.wHour = local.wMinute = local.wSecond = 0;
  char text[256] = "";
  if (date)
    GetDateFormatA(LOCALE_SYSTEM_DEFAULT, LOCALE_NOUSEROVERRIDE, &local, nullptr, text, sizeof text);
  else
    GetTimeFormatA(LOCALE_SYSTEM_DEFAULT, LOCALE_NOUSEROVERRIDE, &local, nullptr, text, sizeof text);
  return text;
}

struct Kept {
  FILETIME created, accessed, written;
};

// The stamps the file system kept; one it does not keep (zero) reads as the write time.
Kept KeptStamps(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA a;
  EXPECT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a));
  auto zero = [](const FILETIME& f) { return f.dwLowDateTime == 0 && f.dwHighDateTime == 0; };
  Kept k{a.ftCreationTime, a.ftLastAccessTime, a.ftLastWriteTime};
  if (zero(k.created)) k.created = k.written;
  if (zero(k.accessed)) k.accessed = k.written;
  return k;
}

TEST(FileDatesAndTimes, EachExportFormatsItsOwnStamp) {
  TempDir d;
  std::string f = d / "stamped.txt";
  WriteBytes(f, "x");
  FILETIME c = Utc(2003, 4, 5, 6, 7, 8, 900), a = Utc(2011, 12, 13, 14, 15, 16, 500), w = Utc(1999, 1, 2, 23, 59, 58, 999);
  SetTimes(f, &c, &a, &w);
  Kept k = KeptStamps(f);
  // The access and write stamps are the ones set; the creation stamp is what the file
  // system kept.
  EXPECT_EQ(Formatted(k.written, true), Formatted(w, true));
  EXPECT_EQ(Formatted(k.accessed, false), Formatted(a, false));

  EXPECT_EQ(Take(dll().cFileDateCreated(f.c_str())), Formatted(k.created, true));
  EXPECT_EQ(Take(dll().cFileLastDateAccess(f.c_str())), Formatted(a, true));
  EXPECT_EQ(Take(dll().cFileLastDateModified(f.c_str())), Formatted(w, true));
  EXPECT_EQ(Take(dll().cFileTimeCreated(f.c_str())), Formatted(k.created, false));
  EXPECT_EQ(Take(dll().cFileLastTimeAccess(f.c_str())), Formatted(a, false));
  EXPECT_EQ(Take(dll().cFileLastTimeModified(f.c_str())), Formatted(w, false));
  // Different stamps give different texts, so the selectors are not mixed up.
  EXPECT_NE(Formatted(a, true), Formatted(w, true));
  EXPECT_NE(Formatted(a, false), Formatted(w, false));
}

TEST(FileDatesAndTimes, FolderAcceptedLikeAFile) {
  TempDir d;
  MakeDir(d / "sub");
  FILETIME w = Utc(2020, 2, 29, 12, 0, 1);
  SetTimes(d / "sub", nullptr, &w, &w);
  EXPECT_EQ(Take(dll().cFileLastDateModified((d / "sub").c_str())), Formatted(w, true));
  EXPECT_EQ(Take(dll().cFileLastTimeAccess((d / "sub").c_str())), Formatted(w, false));
}

TEST(FileDatesAndTimes, DriveRootIsFirstOfJanuary1980) {
  SYSTEMTIME st{};
  st.wYear = 1980;
  st.wMonth = 1;
  st.wDay = 1;
  st.wDayOfWeek = 2;
  char date[256], time[256];
  GetDateFormatA(LOCALE_SYSTEM_DEFAULT, LOCALE_NOUSEROVERRIDE, &st, nullptr, date, sizeof date);
  GetTimeFormatA(LOCALE_SYSTEM_DEFAULT, LOCALE_NOUSEROVERRIDE, &st, nullptr, time, sizeof time);
  EXPECT_EQ(Take(dll().cFileDateCreated("C:\\")), date);
  EXPECT_EQ(Take(dll().cFileLastDateModified("C:\\")), date);
  EXPECT_EQ(Take(dll().cFileTimeCreated("C:\\")), time);
  EXPECT_EQ(Take(dll().cFileLastTimeAccess("C:\\")), time);
  EXPECT_EQ(dll().cCmpFileTime("C:\\", "C:\\"), 0);
}

TEST(FileDatesAndTimes, UnreadableStatusGivesEmptyText) {
  TempDir d;
  WriteBytes(d / "a.txt", "");
  for (std::string name : {d / "missing.txt", d / "*.txt", d / "a.tx?", std::string("C:"), std::string("")}) {
    EXPECT_EQ(Take(dll().cFileDateCreated(name.c_str())), "") << name;
    EXPECT_EQ(Take(dll().cFileLastTimeModified(name.c_str())), "") << name;
  }
}

// Each stamp stands for itself: one outside the 1970-based 32-bit count gives no text,
// never the text of another stamp (a 1960 write time beside a 2021 access time).
TEST(FileDatesAndTimes, StampsOutsideThe1970CountGiveEmptyText) {
  TempDir d;
  std::string f = d / "old.txt";
  WriteBytes(f, "");
  FILETIME y1960 = Utc(1960, 1, 1, 0, 0, 0), y2021 = Utc(2021, 6, 1, 12, 0, 0), y2040 = Utc(2040, 6, 1, 0, 0, 0);
  SetTimes(f, nullptr, &y2021, &y1960);
  if (Formatted(KeptStamps(f).written, true) != Formatted(y1960, true)) GTEST_SKIP() << "stamp not kept";
  EXPECT_EQ(Take(dll().cFileLastDateModified(f.c_str())), "");
  EXPECT_EQ(Take(dll().cFileLastTimeModified(f.c_str())), "");
  EXPECT_EQ(Take(dll().cFileLastDateAccess(f.c_str())), Formatted(y2021, true));
  EXPECT_EQ(Take(dll().cFileLastTimeAccess(f.c_str())), Formatted(y2021, false));
  SetTimes(f, nullptr, &y2040, nullptr);
  EXPECT_EQ(Take(dll().cFileLastDateAccess(f.c_str())), "");
  EXPECT_EQ(Take(dll().cFileLastTimeAccess(f.c_str())), "");

  // The edges of the count: 1970-01-01 00:00:00 UTC and 2038-01-19 03:14:07 UTC are
  // served, a second before the one or after the other is not.
  struct Edge { FILETIME stamp; bool served; } edges[] = {
      {Utc(1969, 12, 31, 23, 59, 59, 999), false}, {Utc(1970, 1, 1, 0, 0, 0), true},
      {Utc(2038, 1, 19, 3, 14, 7, 999), true}, {Utc(2038, 1, 19, 3, 14, 8), false}};
  for (const Edge& e : edges) {
    SetTimes(f, nullptr, nullptr, &e.stamp);
    SYSTEMTIME u;
    FileTimeToSystemTime(&e.stamp, &u);
    std::string at = std::to_string(u.wYear) + "-" + std::to_string(u.wMonth) + "-" + std::to_string(u.wDay);
    EXPECT_EQ(Take(dll().cFileLastDateModified(f.c_str())), e.served ? Formatted(e.stamp, true) : "") << at;
    EXPECT_EQ(Take(dll().cFileLastTimeModified(f.c_str())), e.served ? Formatted(e.stamp, false) : "") << at;
  }
}

TEST(CmpFileTime, WholeSecondsOfTheWriteStamp) {
  TempDir d;
  std::string a = d / "a", b = d / "b";
  WriteBytes(a, "");
  WriteBytes(b, "");
  FILETIME early = Utc(2010, 1, 1, 0, 0, 5, 100), late = Utc(2010, 1, 1, 0, 0, 5, 900), next = Utc(2010, 1, 1, 0, 0, 6);
  SetTimes(a, nullptr, nullptr, &early);
  SetTimes(b, nullptr, nullptr, &late);
  EXPECT_EQ(dll().cCmpFileTime(a.c_str(), b.c_str()), 0);  // same second
  SetTimes(b, nullptr, nullptr, &next);
  EXPECT_EQ(dll().cCmpFileTime(a.c_str(), b.c_str()), -1);
  EXPECT_EQ(dll().cCmpFileTime(b.c_str(), a.c_str()), 1);
  // The access stamp plays no part.
  FILETIME much_later = Utc(2030, 1, 1, 0, 0, 0);
  SetTimes(a, nullptr, &much_later, nullptr);
  EXPECT_EQ(dll().cCmpFileTime(a.c_str(), b.c_str()), -1);

  // Stamps before 1970 compare as they are, at the same whole seconds: 1960 is older than
  // 2020, 1965 than 1969-12-31 23:59:59.5, and two stamps within one second before 1970
  // (23:59:58.1 and 23:59:58.9) are equal.
  FILETIME y1960 = Utc(1960, 1, 1, 0, 0, 0), y1965 = Utc(1965, 6, 1, 0, 0, 0), y2020 = Utc(2020, 1, 1, 0, 0, 0);
  SetTimes(a, nullptr, nullptr, &y1960);
  SetTimes(b, nullptr, nullptr, &y2020);
  FILETIME kept = KeptStamps(a).written;
  if (CompareFileTime(&kept, &y1960) != 0) GTEST_SKIP() << "stamp not kept";
  EXPECT_EQ(dll().cCmpFileTime(a.c_str(), b.c_str()), -1);
  EXPECT_EQ(dll().cCmpFileTime(b.c_str(), a.c_str()), 1);
  FILETIME half = Utc(1969, 12, 31, 23, 59, 59, 500);
  SetTimes(a, nullptr, nullptr, &y1965);
  SetTimes(b, nullptr, nullptr, &half);
  EXPECT_EQ(dll().cCmpFileTime(a.c_str(), b.c_str()), -1);
  FILETIME first = Utc(1969, 12, 31, 23, 59, 58, 100), second = Utc(1969, 12, 31, 23, 59, 58, 900);
  SetTimes(a, nullptr, nullptr, &first);
  SetTimes(b, nullptr, nullptr, &second);
  EXPECT_EQ(dll().cCmpFileTime(a.c_str(), b.c_str()), 0);
  // Half a second before 1970 and 1970 itself lie in different seconds.
  FILETIME epoch = Utc(1970, 1, 1, 0, 0, 0);
  SetTimes(a, nullptr, nullptr, &half);
  SetTimes(b, nullptr, nullptr, &epoch);
  EXPECT_EQ(dll().cCmpFileTime(a.c_str(), b.c_str()), -1);

  EXPECT_EQ(dll().cCmpFileTime((d / "missing").c_str(), b.c_str()), -2);
  EXPECT_EQ(dll().cCmpFileTime(a.c_str(), (d / "missing").c_str()), -2);
  EXPECT_EQ(dll().cCmpFileTime((d / "*").c_str(), b.c_str()), -2);
  EXPECT_EQ(dll().cCmpFileTime(a.c_str(), "C:"), -2);
}

}  // namespace
}  // namespace vnk::test
