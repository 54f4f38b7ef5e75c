// Names in four scripts through the Unicode twins, one family of exports at a time, and
// one path of about 600 characters made, written, copied, listed, walked, sorted and
// deleted through them while the ANSI exports refuse it. Each family runs the same steps
// twice: with ASCII names through the ANSI exports and with names in a script through
// the twins; the answers must agree, and the files the twins leave are read back with
// the platform's own wide functions.
#include <string>
#include <vector>

#include "tests/win/harness.h"

namespace vnk::test {
namespace {

// Greek, Cyrillic, CJK, and a character beyond the Basic Multilingual Plane (a surrogate
// pair in UTF-16). None of them is in the Western ANSI code page the tests run under.
const std::wstring kScripts[] = {L"\u0391\u03c1\u03c7\u03b5\u03af\u03bf", L"\u0424\u0430\u0439\u043b",
                                 L"\u6f22\u5b57", L"\U0001F600\u00e9"};

std::wstring Wide(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::string Utf8(std::wstring_view w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

// The platform's own wide calls, with the long form for long paths.
std::wstring Long(const std::wstring& p) { return p.size() >= 248 ? L"\\\\?\\" + p : p; }

void PutW(const std::wstring& path, std::string_view bytes) {
  HANDLE h = CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << Utf8(path);
  DWORD wrote = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
  CloseHandle(h);
}

std::optional<std::string> GetW(const std::wstring& path) {
  HANDLE h = CreateFileW(Long(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char block[4096];
  DWORD got = 0;
  while (ReadFile(h, block, sizeof block, &got, nullptr) && got > 0) bytes.append(block, got);
  CloseHandle(h);
  return bytes;
}

bool HasW(const std::wstring& path) { return GetFileAttributesW(Long(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

void MakeDirW(const std::wstring& path) { ASSERT_TRUE(CreateDirectoryW(Long(path).c_str(), nullptr)) << Utf8(path); }

// The names in a folder, "." and ".." left out, in the platform's order.
std::vector<std::wstring> ListW(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(Long(folder + L"\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring n = fd.cFileName;
    if (n != L"." && n != L"..") names.push_back(n);
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return names;
}

void RemoveTreeW(const std::wstring& path) {
  DWORD attrib = GetFileAttributesW(Long(path).c_str());
  if (attrib == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesW(Long(path).c_str(), FILE_ATTRIBUTE_NORMAL);
  if (attrib & FILE_ATTRIBUTE_DIRECTORY) {
    for (const std::wstring& n : ListW(path)) RemoveTreeW(path + L"\\" + n);
    RemoveDirectoryW(Long(path).c_str());
  } else {
    DeleteFileW(Long(path).c_str());
  }
}

// One scratch folder with two sides: "plain" for the ANSI run with ASCII names, and a
// folder named in the script for the twins' run.
class Sides {
 public:
  explicit Sides(const std::wstring& script) : script_(script) {
    a_ = temp_ / "plain";
    w_ = Wide(temp_.path()) + L"\\" + script;
    MakeDir(a_);
    MakeDirW(w_);
  }
  ~Sides() { RemoveTreeW(Wide(temp_.path())); }
  // The same file name on both sides: "name" plain, "name" with the script before it.
  std::string a(std::string_view name) const { return a_ + "\\" + std::string(name); }
  std::wstring w(std::string_view name) const { return w_ + L"\\" + script_ + Wide(name); }
  const std::string& a_dir() const { return a_; }
  const std::wstring& w_dir() const { return w_; }
  const std::wstring& script() const { return script_; }
  void Put(std::string_view name, std::string_view bytes) const {
    WriteBytes(a(name), bytes);
    PutW(w(name), bytes);
  }

 private:
  TempDir temp_;
  std::wstring script_;
  std::string a_;
  std::wstring w_;
};

const char kText[] = "pear\r\napple\r\nfig\r\n";

TEST(UnicodeNames, CopyMoveRenameAndUniqueNames) {
  for (const std::wstring& script : kScripts) {
    SCOPED_TRACE(Utf8(script));
    Sides s(script);
    s.Put("src.txt", kText);
    EXPECT_EQ(dll().cFileCopyW(s.w("src.txt").c_str(), s.w("c1.txt").c_str()),
              dll().cFileCopy(s.a("src.txt").c_str(), s.a("c1.txt").c_str()));
    EXPECT_EQ(GetW(s.w("c1.txt")), kText);
    EXPECT_EQ(dll().cFileCopy2W(s.w("src.txt").c_str(), s.w("c2.txt").c_str()),
              dll().cFileCopy2(s.a("src.txt").c_str(), s.a("c2.txt").c_str()));
    EXPECT_EQ(GetW(s.w("c2.txt")), kText);
    EXPECT_EQ(dll().cFileMoveW(s.w("c2.txt").c_str(), s.w("m.txt").c_str()),
              dll().cFileMove(s.a("c2.txt").c_str(), s.a("m.txt").c_str()));
    EXPECT_FALSE(HasW(s.w("c2.txt")));
    EXPECT_EQ(GetW(s.w("m.txt")), kText);
    EXPECT_EQ(dll().cRenameFileW(s.w("m.txt").c_str(), s.w("r.txt").c_str()),
              dll().cRenameFile(s.a("m.txt").c_str(), s.a("r.txt").c_str()));
    EXPECT_EQ(GetW(s.w("r.txt")), kText);
    EXPECT_FALSE(HasW(s.w("m.txt")));

    // A unique name in the folder named in the script, with the script's first character
    // as its prefix: the name given back is the path the platform would use.
    SetCurrentDirectoryW(s.w_dir().c_str());
    WBstr prefix(script.substr(0, script[0] >= 0xD800 && script[0] < 0xDC00 ? 2 : 1));
    std::wstring unique = TakeW(dll().cUniqueFileNameW(prefix.slot()));
    SetCurrentDirectoryA(s.a_dir().c_str());
    ASSERT_FALSE(unique.empty());
    EXPECT_NE(unique.find(prefix.str()), std::wstring::npos);
    EXPECT_FALSE(HasW(s.w_dir() + L"\\" + unique.substr(unique.find_last_of(L'\\') + 1)));
  }
}

TEST(UnicodeNames, AttributesDatesSizesAndComparison) {
  for (const std::wstring& script : kScripts) {
    SCOPED_TRACE(Utf8(script));
    Sides s(script);
    s.Put("one.txt", kText);
    s.Put("two.txt", "PEAR\r\nAPPLE\r\nFIG\r\n");
    const std::wstring one = s.w("one.txt"), two = s.w("two.txt");
    EXPECT_EQ(dll().cFileSizeW(one.c_str()), 18);
    EXPECT_EQ(dll().cIsFileEmptyW(one.c_str()), dll().cIsFileEmpty(s.a("one.txt").c_str()));
    EXPECT_EQ(dll().cCmpFileContentsW(one.c_str(), two.c_str(), 0),
              dll().cCmpFileContents(s.a("one.txt").c_str(), s.a("two.txt").c_str(), 0));
    EXPECT_EQ(dll().cCmpFileSizeW(one.c_str(), two.c_str()),
              dll().cCmpFileSize(s.a("one.txt").c_str(), s.a("two.txt").c_str()));
    EXPECT_EQ(dll().cFileSetHiddenW(one.c_str()), dll().cFileSetHidden(s.a("one.txt").c_str()));
    EXPECT_TRUE(GetFileAttributesW(one.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(dll().cIsFileHiddenW(one.c_str()), VB_TRUE);
    FileAttrib wa = {}, aa = {};
    EXPECT_EQ(dll().cFileGetAttribW(one.c_str(), &wa), dll().cFileGetAttrib(s.a("one.txt").c_str(), &aa));
    EXPECT_EQ(memcmp(&wa, &aa, sizeof wa), 0);
    // The dates read the same clock: both files were written within the same minute or
    // so, and the date strings (no time) agree, in UTF-16.
    EXPECT_EQ(Utf8(TakeW(dll().cFileLastDateModifiedW(one.c_str()))),
              Take(dll().cFileLastDateModified(s.a("one.txt").c_str())));
    EXPECT_EQ(TakeW(dll().cFileDriveW(one.c_str())), Wide(Take(dll().cFileDrive(s.a("one.txt").c_str()))));
  }
}

TEST(UnicodeNames, ListingsArraysAndFileSearch) {
  for (const std::wstring& script : kScripts) {
    SCOPED_TRACE(Utf8(script));
    Sides s(script);
    s.Put("f.txt", kText);
    MakeDirW(s.w("sub"));
    const std::wstring pattern = s.w_dir() + L"\\*.txt";
    EXPECT_EQ(TakeW(dll().cFilesInDirectoryW(pattern.c_str(), -1)), script + L"f.txt");
    EXPECT_EQ(TakeW(dll().cFilesInDirectoryW(pattern.c_str(), 0)), L"");
    std::wstring sub;
    for (std::wstring n = TakeW(dll().cSubDirectoryW((s.w_dir() + L"\\*").c_str(), -1)); !n.empty();
         n = TakeW(dll().cSubDirectoryW(L"", 0)))
      if (n != L"." && n != L"..") sub = n;
    EXPECT_EQ(sub, script + L"sub");

    SAFEARRAYBOUND bound = {3, 0};
    SAFEARRAY* names = SafeArrayCreate(VT_BSTR, 1, &bound);
    EXPECT_EQ(dll().cFilesInDirToArrayW(pattern.c_str(), 255, &names), 1);
    LONG at = 0;
    BSTR first = nullptr;
    SafeArrayGetElement(names, &at, &first);
    EXPECT_EQ(TakeW(first), script + L"f.txt");
    SafeArrayDestroy(names);

    // Names written into a file by a twin are UTF-8.
    const std::wstring list = s.w("list.lst");
    EXPECT_EQ(dll().cFilesInDirOnDiskW(list.c_str(), pattern.c_str(), 255), 1);
    EXPECT_EQ(GetW(list), Utf8(script + L"f.txt") + "\r\n");
    const std::wstring found = Wide(s.a_dir()) + L"\\found.lst";
    EXPECT_EQ(dll().cSearchFileW(s.w_dir().c_str(), (script + L"f.*").c_str(), found.c_str()), 1);
    EXPECT_EQ(GetW(found), Utf8(s.w("f.txt")) + "\r\n");

    // A string array saved into and loaded from a file named in the script; its lines
    // are the file's text, in the ANSI code page as the ANSI export writes them.
    SAFEARRAY* items = SafeArrayCreate(VT_BSTR, 1, &bound);
    const std::wstring lines[] = {L"caf\u00e9", L"", L"end"};
    for (LONG i = 0; i < 3; ++i) SafeArrayPutElement(items, &i, WBstr(lines[i]).get());
    int32_t count = -5;
    const std::wstring saved = s.w("arr.txt");
    EXPECT_GT(dll().cArrayStringOnDiskW(saved.c_str(), &items, 0, &count), 0);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(GetW(saved), "caf\xE9\r\n\r\nend\r\n");
    SafeArrayDestroy(items);
    SAFEARRAY* loaded = SafeArrayCreate(VT_BSTR, 1, &bound);
    EXPECT_GT(dll().cArrayStringOnDiskW(saved.c_str(), &loaded, 1, &count), 0);
    for (LONG i = 0; i < 3; ++i) {
      BSTR b = nullptr;
      SafeArrayGetElement(loaded, &i, &b);
      EXPECT_EQ(TakeW(b), lines[i]);
    }
    SafeArrayDestroy(loaded);
  }
}

TEST(UnicodeNames, TreeWalkAccountingAndDeletion) {
  for (const std::wstring& script : kScripts) {
    SCOPED_TRACE(Utf8(script));
    Sides s(script);
    MakeDir(s.a("d1"));
    MakeDir(s.a("d1\\d2"));
    MakeDirW(s.w("d1"));
    MakeDirW(s.w("d1") + L"\\" + script + L"d2");
    s.Put("a.bak", "12345");
    s.Put("b.txt", kText);
    WriteBytes(s.a("d1\\d2\\c.bak"), "xyz");
    PutW(s.w("d1") + L"\\" + script + L"d2\\" + script + L"c.bak", "xyz");

    int32_t wn = -1, an = -1;
    std::wstring tree = TakeW(dll().cAllSubDirectoriesW(s.w_dir().c_str(), &wn));
    Take(dll().cAllSubDirectories(s.a_dir().c_str(), &an));
    EXPECT_EQ(wn, an);
    EXPECT_NE(tree.find(script + L"d1\\" + script + L"d2"), std::wstring::npos) << Utf8(tree);
    for (int which : {0, 1})
      EXPECT_EQ(dll().cRcsCountFileDirW(which, s.w_dir().c_str(), L"*.bak", -1),
                dll().cRcsCountFileDir(which, s.a_dir().c_str(), "*.bak", -1));
    EXPECT_EQ(dll().cRcsFilesSizeW(s.w_dir().c_str(), L"*.*", -1), dll().cRcsFilesSize(s.a_dir().c_str(), "*.*", -1));
    EXPECT_EQ(dll().cFilesSizeW((s.w_dir() + L"\\*.txt").c_str()), 18.0);

    EXPECT_EQ(dll().cKillFilesW((s.w_dir() + L"\\*.bak").c_str()), dll().cKillFiles((s.a_dir() + "\\*.bak").c_str()));
    EXPECT_FALSE(HasW(s.w("a.bak")));
    EXPECT_TRUE(HasW(s.w("b.txt")));
    EXPECT_EQ(dll().cKillDirFilesAllW(s.w_dir().c_str(), L"*.bak"), dll().cKillDirFilesAll(s.a_dir().c_str(), "*.bak"));
    EXPECT_EQ(ListW(s.w("d1") + L"\\" + script + L"d2"), std::vector<std::wstring>{});
    EXPECT_EQ(dll().cKillDirsW(s.w_dir().c_str(), 1), dll().cKillDirs(s.a_dir().c_str(), 1));
    EXPECT_FALSE(HasW(s.w("d1")));
    EXPECT_TRUE(HasW(s.w("b.txt")));  // a folder's own files stay, and so does the folder
  }
}

TEST(UnicodeNames, SortSearchReplaceTransformsAndUu) {
  for (const std::wstring& script : kScripts) {
    SCOPED_TRACE(Utf8(script));
    Sides s(script);
    s.Put("t.txt", "pear\r\ncaf\xE9 au lait\r\napple\r\n");
    int32_t wc = -9, ac = -9;
    EXPECT_EQ(dll().cFileSortW(s.w("t.txt").c_str(), s.w("s.txt").c_str(), 0, 0, 0, 0, &wc),
              dll().cFileSort(s.a("t.txt").c_str(), s.a("s.txt").c_str(), 0, 0, 0, 0, &ac));
    EXPECT_EQ(wc, ac);
    EXPECT_EQ(GetW(s.w("s.txt")), ReadBytes(s.a("s.txt")));
    // Search texts reach the file as the ANSI export's bytes: "é" is 0xE9 here.
    EXPECT_EQ(dll().cFileSearchW(s.w("t.txt").c_str(), L"caf\u00e9", 0), dll().cFileSearch(s.a("t.txt").c_str(), "caf\xE9", 0));
    EXPECT_EQ(dll().cFileSearchW(s.w("t.txt").c_str(), L"caf\u00e9", 0), VB_TRUE);
    EXPECT_EQ(dll().cFileSearchCountW(s.w("t.txt").c_str(), L"a", 0), dll().cFileSearchCount(s.a("t.txt").c_str(), "a", 0));
    EXPECT_EQ(dll().cFileSearchAndReplaceW(s.w("t.txt").c_str(), L"lait", L"l\u00f6t", s.w("work.tmp").c_str(), 0),
              dll().cFileSearchAndReplace(s.a("t.txt").c_str(), "lait", "l\xF6t", s.a("work.tmp").c_str(), 0));
    EXPECT_EQ(GetW(s.w("t.txt")), "pear\r\ncaf\xE9 au l\xF6t\r\napple\r\n");
    EXPECT_EQ(dll().cFileToUpperW(s.w("t.txt").c_str(), s.w("u.txt").c_str()),
              dll().cFileToUpper(s.a("t.txt").c_str(), s.a("u.txt").c_str()));
    EXPECT_EQ(GetW(s.w("u.txt")), ReadBytes(s.a("u.txt")));
    WBstr from(L"\u00e9"), to(L"e");
    Bstr afrom("\xE9"), ato("e");
    EXPECT_EQ(dll().cFileChangeCharsW(s.w("u.txt").c_str(), from.slot(), to.slot(), s.w("w2.tmp").c_str()),
              dll().cFileChangeChars(s.a("u.txt").c_str(), afrom.slot(), ato.slot(), s.a("w2.tmp").c_str()));
    EXPECT_EQ(from.str(), L"\u00e9");  // a ByRef text the export only reads comes back as it went
    EXPECT_EQ(GetW(s.w("u.txt")), ReadBytes(s.a("u.txt")));
    EXPECT_EQ(dll().cFileUUCPW(s.w("t.txt").c_str(), s.w("t.uue").c_str(), 0),
              dll().cFileUUCP(s.a("t.txt").c_str(), s.a("t.uue").c_str(), 0));
    EXPECT_EQ(dll().cFileUUCPW(s.w("t.uue").c_str(), s.w("back.txt").c_str(), 1),
              dll().cFileUUCP(s.a("t.uue").c_str(), s.a("back.txt").c_str(), 1));
    EXPECT_EQ(GetW(s.w("back.txt")), GetW(s.w("t.txt")));
  }
}

TEST(UnicodeNames, SplitJoinFullPathAndTruncation) {
  for (const std::wstring& script : kScripts) {
    SCOPED_TRACE(Utf8(script));
    const std::wstring dir = L"\\" + script + L"\\" + script + L".d\\";
    PathParts parts = {}, ascii = {};
    EXPECT_EQ(dll().cSplitPathW((L"C:" + dir + script + L".txt").c_str(), &parts),
              dll().cSplitPath("C:\\ab\\ab.d\\ab.txt", &ascii));
    for (BSTR b : {ascii.Drive, ascii.Directory, ascii.FileName, ascii.Extension}) SysFreeString(b);
    EXPECT_EQ(TakeW(parts.Drive), L"C:");
    EXPECT_EQ(TakeW(parts.Directory), dir);
    EXPECT_EQ(TakeW(parts.FileName), script);
    EXPECT_EQ(TakeW(parts.Extension), L".txt");
    EXPECT_EQ(TakeW(dll().cMakePathW(L"D", dir.c_str(), script.c_str(), L"log")), L"D:" + dir + script + L".log");
    EXPECT_EQ(dll().cIsFilenameValidW((L"C:" + dir + script + L".txt").c_str()), VB_TRUE);

    wchar_t expected[MAX_PATH];
    GetFullPathNameW((L"..\\" + script + L".txt").c_str(), MAX_PATH, expected, nullptr);
    EXPECT_EQ(TakeW(dll().cFullPathW((L"..\\" + script + L".txt").c_str())), expected);

    // Widths count UTF-16 units, as VB's Len does.
    std::wstring long_dir;
    for (int i = 0; i < 6; ++i) long_dir += L"\\" + script + script + script;
    const std::wstring path = L"C:" + long_dir + L"\\" + script + L".txt";
    std::wstring cut = TakeW(dll().cTruncatePathW(path.c_str(), 30));
    EXPECT_EQ(cut.size(), 30u) << Utf8(cut);
    EXPECT_EQ(cut.substr(0, 2), L"C:");
    EXPECT_EQ(cut.substr(cut.size() - script.size() - 4), script + L".txt");
  }
}

// One path of about 600 characters, in Greek, through the twins; the ANSI exports refuse
// its ASCII counterpart as they refuse any path over 259 characters.
TEST(LongPaths, SixHundredCharactersThroughTheTwins) {
  TempDir temp;
  const std::wstring base = Wide(temp.path()) + L"\\L";
  std::wstring deep = base;
  int levels = 0;
  for (; deep.size() < 560; ++levels) deep += L"\\" + kScripts[0] + std::wstring(90, L'x');
  ASSERT_GT(deep.size(), 559u);
  EXPECT_EQ(dll().cMakeMultipleDirW(deep.c_str()), -1);
  ASSERT_TRUE(HasW(deep));
  const std::wstring src = Wide(temp.path()) + L"\\src.txt";
  PutW(src, kText);
  const std::wstring file = deep + L"\\" + kScripts[2] + L".txt";
  EXPECT_GT(file.size(), 580u);
  EXPECT_EQ(dll().cFileCopyW(src.c_str(), file.c_str()), 18);
  EXPECT_EQ(dll().cFileSizeW(file.c_str()), 18);
  EXPECT_EQ(dll().cFileCopy2W(file.c_str(), (deep + L"\\copy.txt").c_str()),
            dll().cFileCopy2(Utf8(src).c_str(), (temp / "copy.txt").c_str()));
  EXPECT_EQ(GetW(deep + L"\\copy.txt"), kText);
  EXPECT_EQ(TakeW(dll().cFilesInDirectoryW((deep + L"\\*.dat").c_str(), -1)), L"");
  EXPECT_EQ(TakeW(dll().cFilesInDirectoryW((deep + L"\\" + kScripts[2] + L".*").c_str(), -1)), kScripts[2] + L".txt");
  TakeW(dll().cFilesInDirectoryW(L"", -1));  // ends the listing, which holds the folder open
  EXPECT_EQ(dll().cRcsCountFileDirW(1, base.c_str(), L"*.txt", -1), 2);
  EXPECT_EQ(dll().cRcsCountFileDirW(0, base.c_str(), L"", -1), levels);
  int32_t count = -1;
  EXPECT_EQ(dll().cFileSortW(file.c_str(), (deep + L"\\sorted.txt").c_str(), 0, 0, 0, 0, &count), 18);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(GetW(deep + L"\\sorted.txt"), "apple\r\nfig\r\npear\r\n");
  EXPECT_EQ(TakeW(dll().cFullPathW(file.c_str())), file);

  // The same length in ASCII through the ANSI exports: refused, nothing made or written;
  // made by a twin, the ANSI exports still do not reach it.
  std::string ansi = temp / "A";
  while (ansi.size() < 560) ansi += "\\" + std::string(96, 'y');
  EXPECT_EQ(dll().cMakeMultipleDir(ansi.c_str()), 2);
  EXPECT_FALSE(Exists(temp / "A"));
  EXPECT_EQ(dll().cMakeMultipleDirW(Wide(ansi).c_str()), -1);
  EXPECT_EQ(dll().cFileCopyW(src.c_str(), Wide(ansi + "\\f.txt").c_str()), 18);
  EXPECT_EQ(dll().cFilePathExists(ansi.c_str()), 2);
  EXPECT_EQ(dll().cFileSize((ansi + "\\f.txt").c_str()), -1);
  EXPECT_LT(dll().cFileCopy(Utf8(src).c_str(), (ansi + "\\g.txt").c_str()), 0);
  EXPECT_FALSE(HasW(Wide(ansi + "\\g.txt")));
  EXPECT_EQ(Take(dll().cFullPath((ansi + "\\f.txt").c_str())), "");
  EXPECT_EQ(dll().cKillDirs((temp / "A").c_str(), 1), 0);
  EXPECT_TRUE(HasW(Wide(ansi + "\\f.txt")));

  EXPECT_EQ(dll().cKillDirsW(base.c_str(), 1), levels + 1);  // every level below base, and base
  EXPECT_FALSE(HasW(base));
  RemoveTreeW(Wide(temp.path()));
}

}  // namespace
}  // namespace vnk::test
