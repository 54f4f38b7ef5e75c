// Hostile input through every export: paths of 259 to 4000 characters, names holding
// every byte from 0x01 to 0xFF, empty strings, strings of separators or dots, arrays with
// unusual bounds or none at all, string slots holding NULs. Every String argument is
// placed against an inaccessible page and every ByRef record and number in front of
// one, so a read or write past its end stops the program. The calls run in a sandbox
// folder; what lies outside it is only read, never handed to an export that writes.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/win/fault_util.h"
#include "tests/win/lists_arrays_util.h"

namespace vnk::test {
namespace {

using fault::Guarded;
using fault::GuardedString;
using fault::Kept;
using fault::Tally;

// What the current call is, for the message if it brings the program down.
std::string g_current;

// Removes a tree whatever the length of its paths (calls may have made folders whose full
// names pass 260 characters, which the ANSI functions cannot reach).
void RemoveLongTree(const std::wstring& dir) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring full = dir + L"\\" + name;
      SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveLongTree(full);
      else DeleteFileW(full.c_str());
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  SetFileAttributesW(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(dir.c_str());
}

// ---- The sandbox ----------------------------------------------------------------------

// A temporary folder with the current folder three levels inside it, so that "." and
// ".." stay within it; files the calls may use or damage are rebuilt before each call.
// Two canaries sit in the sandbox's top under names exactly 255 and 259 characters long
// (the plain copy's name buffer and the path buffer): a long path made of a canary's
// name and more characters must never reach the canary, as it would if an export cut
// the path to its buffer and went on.
class Sandbox {
 public:
  Sandbox() : cwd_(top_ / "w\\x\\y") {
    MakeDir(top_ / "w");
    MakeDir(top_ / "w\\x");
    for (size_t len : {size_t{255}, size_t{259}}) {
      std::string name = top_.path() + "\\" + std::string(len - top_.path().size() - 1, len == 255 ? 'p' : 'n');
      canaries_.push_back(name);
      WriteBytes(name, "canary " + std::to_string(len));
    }
    Reset();
    for (const std::string& c : canaries_) kept_.emplace_back(c);
    input_ = std::make_unique<fault::Kept>(cwd_ + "\\in.txt");
  }
  ~Sandbox() {
    SetCurrentDirectoryA(saved_.c_str());
    std::wstring wide(top_.path().begin(), top_.path().end());
    RemoveLongTree(L"\\\\?\\" + wide);
  }

  // Puts back what the calls use: the current folder and a small input file in it.
  void Reset() {
    dirty_ = false;
    CreateDirectoryA((top_ / "w").c_str(), nullptr);
    CreateDirectoryA((top_ / "w\\x").c_str(), nullptr);
    CreateDirectoryA(cwd_.c_str(), nullptr);
    SetCurrentDirectoryA(cwd_.c_str());
    std::string in = cwd_ + "\\in.txt";
    SetFileAttributesA(in.c_str(), FILE_ATTRIBUTE_NORMAL);
    // A call may have moved a folder to the input's name.
    DWORD attrib = GetFileAttributesA(in.c_str());
    if (attrib != INVALID_FILE_ATTRIBUTES && (attrib & FILE_ATTRIBUTE_DIRECTORY)) RemoveTree(in);
    if (ReadBytes(in) != std::optional<std::string>(kInput)) {
      DeleteFileA(in.c_str());
      WriteBytes(in, kInput);
      ASSERT_EQ(ReadBytes(in), std::optional<std::string>(kInput)) << "after " << g_current;
    }
  }

  // After a call that only reads: the current folder back where it was (cChDir, cChDrive
  // move it).
  void RestoreCurrentDir() {
    char now[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(sizeof now, now);
    if (std::string(now, n) != cwd_) SetCurrentDirectoryA(cwd_.c_str());
  }

  ::testing::AssertionResult InputKept() const { return input_->Same(); }
  bool dirty() const { return dirty_; }
  void MarkDirty() { dirty_ = true; }

  // True when the text names something inside the sandbox.
  bool Inside(const std::string& text) const {
    std::vector<char> full(40000);
    DWORD n = GetFullPathNameA(text.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n == 0 || n >= full.size()) return false;
    std::string prefix = top_.path() + "\\";
    return n > prefix.size() && _strnicmp(full.data(), prefix.c_str(), prefix.size()) == 0;
  }

  ::testing::AssertionResult CanariesKept() const {
    for (const fault::Kept& k : kept_)
      if (auto r = k.Same(); !r) return r;
    return ::testing::AssertionSuccess();
  }

  const std::string& top() const { return top_.path(); }
  const std::vector<std::string>& canaries() const { return canaries_; }
  static constexpr const char* kInput = "line one\r\nline two\r\n";

 private:
  std::string saved_ = CurrentDir();
  TempDir top_;
  std::string cwd_;
  std::vector<std::string> canaries_;
  std::vector<fault::Kept> kept_;
  std::unique_ptr<fault::Kept> input_;
  bool dirty_ = false;
};

// The hostile strings, each with a label for messages.
std::vector<std::pair<std::string, std::string>> HostileStrings(const Sandbox& box) {
  std::vector<std::pair<std::string, std::string>> all;
  auto add = [&](std::string label, std::string text) { all.emplace_back(std::move(label), std::move(text)); };
  add("empty", "");
  for (const char* s : {"\\", "/", "\\\\", "//", "\\/", "/\\", "\\\\\\\\\\"}) add("separators", s);
  add("259 backslashes", std::string(259, '\\'));
  add("4000 slashes", std::string(4000, '/'));
  for (const char* s : {".", "..", "...", "....", "./", ".\\", "..\\", ".\\.\\.", "\\.", "..."}) add("dots", s);
  add("259 dots", std::string(259, '.'));
  std::string dot_steps;
  while (dot_steps.size() < 300) dot_steps += ".\\";
  add("300 of .\\", dot_steps);
  for (size_t len : {259, 260, 261, 300, 516, 517, 4000}) {
    std::string n = std::to_string(len);
    add(n + " one name", std::string(len, 'a'));
    std::string nested;
    while (nested.size() < len) nested += "dddddddd\\";
    nested.resize(len);
    if (nested.back() == '\\') nested.back() = 'e';
    add(n + " nested", nested);
    for (const std::string& canary : box.canaries())
      if (len > canary.size()) add(n + " over a canary", canary + std::string(len - canary.size(), 'q'));
    std::string wild = box.top() + "\\";
    add(n + " wildcard", wild + std::string(len - wild.size() - 3, 'w') + "*.*");
  }
  std::string every;
  for (int b = 1; b < 256; ++b) every.push_back(static_cast<char>(b));
  add("every byte", every);
  // Each control character and punctuation mark alone in a name; letters, digits and the
  // bytes from 0x80 up sixteen at a time.
  std::string group;
  auto flush = [&](int last) {
    char label[32];
    snprintf(label, sizeof label, "bytes to 0x%02X", last);
    add(label, "nm" + group + "x");
    group.clear();
  };
  for (int b = 1; b < 256; ++b) {
    bool alnum = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b >= 0x80;
    if (!alnum) {
      char label[32];
      snprintf(label, sizeof label, "byte 0x%02X", b);
      add(label, std::string("nm") + static_cast<char>(b) + "x");
      continue;
    }
    group.push_back(static_cast<char>(b));
    if (group.size() == 16) flush(b);
  }
  if (!group.empty()) flush(255);
  return all;
}

// Exports that only read: they may be given names outside the sandbox. Everything else
// may create, change or delete what it is given, and is called with sandbox names only.
bool OnlyReads(const std::string& name) {
  static const char* const kReaders[] = {
      "cAllSubDirectories", "cChDir", "cChDrive", "cCmpFileAttribute", "cCmpFileContents", "cCmpFileSize",
      "cCmpFileTime", "cCountDirectories", "cCountFiles", "cFileDateCreated", "cFileDrive", "cFileGetAttrib",
      "cFileLastDateAccess", "cFileLastDateModified", "cFileLastTimeAccess", "cFileLastTimeModified",
      "cFileLineCount", "cFilePathExists", "cFileSearch", "cFileSearchCount", "cFileSize", "cFileStatistics",
      "cFileTimeCreated", "cFilesInDirToArray", "cFilesInDirectory", "cFilesSize", "cFilesSizeOnDisk",
      "cFilesSlack", "cFullPath", "cGetDiskClusterSize", "cGetDiskFree", "cGetDiskSpace", "cGetDiskUsed",
      "cGetDriveType", "cIsFileArchive", "cIsFileCompressed", "cIsFileEmpty", "cIsFileFlag", "cIsFileHidden",
      "cIsFileNormal", "cIsFileReadOnly", "cIsFileSubDir", "cIsFileSystem", "cIsFilenameValid", "cMakePath",
      "cRcsCountFileDir", "cRcsFilesSize", "cRcsFilesSizeOnDisk", "cRcsFilesSlack", "cSplitPath",
      "cSubDirectory", "cTruncatePath"};
  for (const char* r : kReaders)
    if (name == r) return true;
  return false;
}

// ---- One call with any argument kinds ------------------------------------------------


LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
  fprintf(stderr, "\n*** exception 0x%08lx during %s\n", info->ExceptionRecord->ExceptionCode, g_current.c_str());
  fflush(stderr);
  return EXCEPTION_CONTINUE_SEARCH;
}

struct CallSetup {
  const GuardedString* hostile;
  int hostile_at;  // argument position that receives it
  int32_t long_value;
  int16_t int_value;
};

const GuardedString& Benign() {
  static const GuardedString in("in.txt");
  return in;
}

template <class K>
struct Arg;

template <>
struct Arg<kind::Str> {
  const char* p;
  Arg(const CallSetup& s, int at) : p(at == s.hostile_at ? s.hostile->c_str() : Benign().c_str()) {}
  const char* pass() { return p; }
};

template <>
struct Arg<kind::StrRef> {
  BSTR b = SysAllocStringByteLen("a\0b", 3);
  Arg(const CallSetup&, int) {}
  ~Arg() { SysFreeString(b); }
  BSTR* pass() { return &b; }
};

template <>
struct Arg<kind::Int> {
  int16_t v;
  Arg(const CallSetup& s, int) : v(s.int_value) {}
  HostInt pass() { return HostInt(v); }
};

template <>
struct Arg<kind::Long> {
  int32_t v;
  Arg(const CallSetup& s, int) : v(s.long_value) {}
  int32_t pass() { return v; }
};

// A ByRef value or record at the very end of its block; one block per kind, reused by
// every call (the calls run one at a time).
template <class T>
struct GuardedOut {
  T* get() {
    static Guarded block(sizeof(T));
    return reinterpret_cast<T*>(block.data());
  }
};

template <>
struct Arg<kind::LongRef> {
  GuardedOut<int32_t> slot;
  Arg(const CallSetup&, int) { *slot.get() = 12345; }
  int32_t* pass() { return slot.get(); }
};

template <>
struct Arg<kind::DoubleRef> {
  GuardedOut<double> slot;
  Arg(const CallSetup&, int) { *slot.get() = 1.5; }
  double* pass() { return slot.get(); }
};

template <>
struct Arg<kind::FileAttribRef> {
  GuardedOut<FileAttrib> rec;
  Arg(const CallSetup&, int) { *rec.get() = FileAttrib{7, 7, 7, 7, 7, 7, 7, 7}; }
  FileAttrib* pass() { return rec.get(); }
};

template <>
struct Arg<kind::PathPartsRef> {
  GuardedOut<PathParts> rec;
  Arg(const CallSetup&, int) {
    *rec.get() = {SysAllocStringByteLen("d\0", 2), SysAllocStringByteLen("\\x\\", 3), SysAllocStringByteLen("n", 1),
                  SysAllocStringByteLen(".e", 2)};
  }
  ~Arg() {
    PathParts* p = rec.get();
    for (BSTR b : {p->Drive, p->Directory, p->FileName, p->Extension}) SysFreeString(b);
  }
  PathParts* pass() { return rec.get(); }
};

template <>
struct Arg<kind::StrArray> {
  HostArray a{VT_BSTR, -2, 3};
  Arg(const CallSetup&, int) { FillStrings(a, {"one", std::string("t\0o", 3), ""}); }
  SAFEARRAY** pass() { return a.ref(); }
};

template <>
struct Arg<kind::AnyArray> {
  HostArray a{VT_I4, 7, 5};
  Arg(const CallSetup&, int) {}
  SAFEARRAY** pass() { return a.ref(); }
};

// The arguments of one call, each built in place (they own guarded blocks and strings
// and cannot be moved).
template <size_t I, class K>
struct Slot {
  Arg<K> arg;
  explicit Slot(const CallSetup& s) : arg(s, static_cast<int>(I)) {}
};
template <class Seq, class... A>
struct Args;
template <size_t... I, class... A>
struct Args<std::index_sequence<I...>, A...> : Slot<I, A>... {
  explicit Args(const CallSetup& s) : Slot<I, A>(s)... {}
};

template <class Sig>
struct Caller;
template <class R, class... A>
struct Caller<Sig<R, A...>> {
  template <size_t... I>
  static void Run(const Export<Sig<R, A...>>& fn, const CallSetup& s, std::index_sequence<I...>) {
    Args<std::index_sequence<I...>, A...> args(s);
    auto r = fn(static_cast<Slot<I, A>&>(args).arg.pass()...);
    if constexpr (R::id == kind::Id::String) {
      std::string text = Take(r);
      EXPECT_LT(text.size(), 70000u) << g_current;
    } else if constexpr (R::id == kind::Id::Double) {
      EXPECT_FALSE(std::isnan(r)) << g_current;
    } else {
      (void)r;
    }
  }
  static void Call(const Export<Sig<R, A...>>& fn, const CallSetup& s) {
    Run(fn, s, std::index_sequence_for<A...>{});
  }
};

// Runs fn once per String position of the export with the hostile string there.
template <class S>
int CallWithHostile(const char* name, const Export<S>& fn, Sandbox& box, const GuardedString& hostile,
                    const std::string& label, bool inside) {
  if (fn.fn == nullptr) return 0;
  bool reader = OnlyReads(name);
  if (!inside && !reader) return 0;
  int calls = 0;
  for (int at = 0; at < S::arg_count; ++at) {
    if (S::args[at] != kind::Id::Str) continue;
    for (int32_t long_value : {0, 40}) {
      bool has_long = false;
      for (kind::Id id : S::args) has_long |= id == kind::Id::Long;
      if (long_value != 0 && !has_long) continue;
      if (reader && !box.dirty()) box.RestoreCurrentDir();
      else box.Reset();
      if (!reader) box.MarkDirty();
      g_current = std::string(name) + ", argument " + std::to_string(at + 1) + " = " + label;
      // The one-at-a-time listings read their pattern only on a first call (-1); every
      // other Integer is 0: save, encode, no recursion.
      std::string n(name);
      int16_t int_value = (n == "cFilesInDirectory" || n == "cSubDirectory") ? -1 : 0;
      Caller<S>::Call(fn, CallSetup{&hostile, at, long_value, int_value});
      // An export that only reads leaves its input as it was.
      if (reader) {
        EXPECT_TRUE(box.InputKept()) << g_current;
      }
      ++calls;
    }
  }
  if (calls > 0) Tally::Get().Export(name);
  return calls;
}

// The names at the top of a drive.
std::vector<std::string> RootEntries(const char* root) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((std::string(root) + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do names.push_back(fd.cFileName); while (FindNextFileA(h, &fd));
  FindClose(h);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

// A folder named by backslashes alone is no folder: the tree walk must not turn it into
// the root of the current drive, where the tree deletions would then empty every folder.
// Only the listing is called here: it shares the walk with the deletions.
TEST(HostileStrings, BackslashesAloneNameNoTree) {
  for (const char* folder : {"\\", "\\\\", "\\\\\\\\", "/", "\\/"}) {
    int32_t count = 12345;
    EXPECT_EQ(Take(FAULT_CALL(cAllSubDirectories, folder, &count)), "") << folder;
    EXPECT_EQ(count, -1) << folder;
  }
}

TEST(HostileStrings, EveryExportEveryString) {
  SetUnhandledExceptionFilter(ReportCrash);
  Sandbox box;
  std::vector<std::string> c_root = RootEntries("C:\\"), z_root = RootEntries("Z:\\");
  std::string cwd = CurrentDir();
  auto strings = HostileStrings(box);
  long calls = 0, outside = 0;
  for (const auto& [label, text] : strings) {
    GuardedString hostile(text);
    bool inside = box.Inside(text);
    if (!inside) ++outside;
#define VNK_HOSTILE(name, R, ...) calls += CallWithHostile(#name, dll().name, box, hostile, label, inside);
    VNK_EXPORTS(VNK_HOSTILE)
#undef VNK_HOSTILE
    ASSERT_TRUE(box.CanariesKept()) << "after the string " << label;
  }
  Tally::Get().Fault(calls);
  box.Reset();
  EXPECT_EQ(CurrentDir(), cwd);
  // Nothing new at the top of either drive.
  EXPECT_EQ(RootEntries("C:\\"), c_root);
  EXPECT_EQ(RootEntries("Z:\\"), z_root);
  printf("%ld calls with %zu hostile strings (%ld of them outside the sandbox, given to reading exports only)\n",
         calls, strings.size(), outside);
}

}  // namespace vnk::test

namespace vnk::test {
namespace {

// A host string array with these bounds and elements, or with two dimensions.
std::string ArrayText(const HostArray& a) {
  std::string all;
  for (const std::string& s : Strings(a)) all += "[" + s + "]";
  return all;
}

}  // namespace

// Listings into arrays of any lower bound, of no elements at all, never dimensioned, of
// two dimensions or of numbers: the names go where the bounds say, and an array the
// listing cannot take is left exactly as it was.
TEST(HostileArrays, ListingsIntoArraysOfAnyShape) {
  TempDir d;
  for (const char* n : {"A1", "B2", "C3"}) WriteBytes(d / n, "x");
  std::string pattern = d / "*";
  std::vector<std::string> names;
  {
    HostArray all(VT_BSTR, 0, 3);
    ASSERT_EQ(FAULT_CALL(cFilesInDirToArray, pattern.c_str(), 255, all.ref()), 3);
    names = Strings(all);
  }
  HostArray low(VT_BSTR, -5, 2);
  FillStrings(low, {std::string("old\0one", 7), std::string(1, '\0')});
  EXPECT_EQ(FAULT_CALL(cFilesInDirToArray, pattern.c_str(), 255, low.ref()), 2);
  EXPECT_EQ(Strings(low), (std::vector<std::string>{names[0], names[1]}));
  HostArray high(VT_BSTR, 1000, 5);
  FillStrings(high, {"x", "x", "x", "x", std::string("\0\0", 2)});
  EXPECT_EQ(FAULT_CALL(cFilesInDirToArray, pattern.c_str(), 255, high.ref()), 3);
  EXPECT_EQ(Strings(high), (std::vector<std::string>{names[0], names[1], names[2], "", ""}));
  HostArray empty(VT_BSTR, 0, 0);
  EXPECT_EQ(FAULT_CALL(cFilesInDirToArray, pattern.c_str(), 255, empty.ref()), 0);
  SAFEARRAY* none = nullptr;
  EXPECT_EQ(FAULT_CALL(cFilesInDirToArray, pattern.c_str(), 255, &none), -1);
  EXPECT_EQ(none, nullptr);
  HostArray grid(VT_BSTR, {SAFEARRAYBOUND{2, 0}, SAFEARRAYBOUND{2, 0}});
  EXPECT_EQ(FAULT_CALL(cFilesInDirToArray, pattern.c_str(), 255, grid.ref()), -1);
  HostArray numbers(VT_I4, 0, 3);
  static_cast<int32_t*>(numbers.data())[1] = 77;
  EXPECT_EQ(FAULT_CALL(cFilesInDirToArray, pattern.c_str(), 255, numbers.ref()), -1);
  EXPECT_EQ(static_cast<int32_t*>(numbers.data())[1], 77);
  Tally::Get().Fault(6);
}

// A string array file brings back every element as it was saved, NULs and all (an
// element holding a line feed comes back as two, by the file's format), whatever the
// bounds of the arrays; empty and undimensioned arrays are handled without a fault.
TEST(HostileArrays, StringArrayFileKeepsEveryByte) {
  TempDir d;
  std::string file = d / "strings.txt";
  std::string every;
  for (int b = 1; b < 256; ++b)
    if (b != '\n' && b != 0x1A) every.push_back(static_cast<char>(b));
  std::vector<std::string> items = {std::string("a\0b", 3), std::string(1, '\0'), "", "x\ry", every,
                                    std::string("\0\0trail", 7)};
  HostArray saved(VT_BSTR, -3, static_cast<ULONG>(items.size()));
  FillStrings(saved, items);
  int32_t count = -7;
  size_t bytes = 0;
  for (const std::string& s : items) bytes += s.size() + 2;
  EXPECT_EQ(FAULT_CALL(cArrayStringOnDisk, file.c_str(), saved.ref(), 0, &count), static_cast<int32_t>(bytes));
  EXPECT_EQ(count, static_cast<int32_t>(items.size()));
  HostArray loaded(VT_BSTR, 7, static_cast<ULONG>(items.size() + 1));
  FillStrings(loaded, {"stale", "stale", "stale", "stale", "stale", "stale", std::string("stale\0", 6)});
  count = -7;
  EXPECT_EQ(FAULT_CALL(cArrayStringOnDisk, file.c_str(), loaded.ref(), 1, &count), static_cast<int32_t>(bytes));
  EXPECT_EQ(count, static_cast<int32_t>(items.size()));
  std::vector<std::string> want = items;
  want.push_back("");
  EXPECT_EQ(ArrayText(loaded), [&] {
    std::string all;
    for (const std::string& s : want) all += "[" + s + "]";
    return all;
  }());

  HostArray empty(VT_BSTR, 4, 0);
  count = -7;
  EXPECT_EQ(FAULT_CALL(cArrayStringOnDisk, file.c_str(), empty.ref(), 0, &count), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(ReadBytes(file), std::optional<std::string>(""));
  EXPECT_EQ(FAULT_CALL(cArrayStringOnDisk, file.c_str(), empty.ref(), 1, &count), 0);
  SAFEARRAY* none = nullptr;
  count = -7;
  std::string other = d / "never.txt";
  EXPECT_EQ(FAULT_CALL(cArrayStringOnDisk, other.c_str(), &none, 0, &count), -1);
  EXPECT_EQ(count, -7);
  EXPECT_FALSE(Exists(other));
  Tally::Get().Fault(4);
}

// The raw data block of arrays with other bounds, of two dimensions, of no elements;
// arrays of references and undimensioned arrays are refused before a file is made.
TEST(HostileArrays, RawArraysOfAnyShape) {
  TempDir d;
  std::string file = d / "raw.dat";
  HostArray ints(VT_I2, -100, 10);
  for (int i = 0; i < 10; ++i) static_cast<int16_t*>(ints.data())[i] = static_cast<int16_t>(i - 5);
  EXPECT_EQ(FAULT_CALL(cArrayOnDisk, file.c_str(), ints.ref(), 0), 20);
  HostArray grid(VT_I2, {SAFEARRAYBOUND{5, -1}, SAFEARRAYBOUND{2, 5}});
  EXPECT_EQ(FAULT_CALL(cArrayOnDisk, file.c_str(), grid.ref(), 1), 20);
  EXPECT_EQ(memcmp(grid.data(), ints.data(), 20), 0);
  HostArray empty(VT_R8, 3, 0);
  EXPECT_EQ(FAULT_CALL(cArrayOnDisk, file.c_str(), empty.ref(), 0), 0);
  EXPECT_EQ(ReadBytes(file), std::optional<std::string>(""));
  EXPECT_EQ(FAULT_CALL(cArrayOnDisk, file.c_str(), empty.ref(), 1), 0);
  std::string other = d / "never.dat";
  SAFEARRAY* none = nullptr;
  EXPECT_EQ(FAULT_CALL(cArrayOnDisk, other.c_str(), &none, 0), -1);
  HostArray strings(VT_BSTR, 0, 2);
  EXPECT_EQ(FAULT_CALL(cArrayOnDisk, other.c_str(), strings.ref(), 0), -1);
  HostArray variants(VT_VARIANT, 0, 2);
  EXPECT_EQ(FAULT_CALL(cArrayOnDisk, other.c_str(), variants.ref(), 0), -1);
  EXPECT_FALSE(Exists(other));
  Tally::Get().Fault(5);
}

// String slots holding NULs: the slot's byte length counts, never its first NUL.
TEST(HostileStrings, StringSlotsHoldingNuls) {
  TempDir d;
  for (const std::string& prefix : {std::string(1, '\0'), std::string("\0\0", 2), std::string("A\0", 2)}) {
    Bstr p(prefix);
    std::string name = Take(FAULT_CALL(cUniqueFileName, p.slot()));
    EXPECT_EQ(name.size(), 8u);
    EXPECT_EQ(name.substr(0, prefix.size()), prefix);
    EXPECT_EQ(p.str(), prefix);
  }
  BSTR null_slot = nullptr;
  EXPECT_EQ(Take(FAULT_CALL(cUniqueFileName, &null_slot)).substr(0, 3), "~~a");

  std::string in = d / "zeros.bin", out = d / "out.bin";
  std::string data = std::string("a\0b\0\0c", 6) + RandomBytes(1000, 5);
  WriteBytes(in, data);
  auto without = [](std::string s, char c) {
    s.erase(std::remove(s.begin(), s.end(), c), s.end());
    return s;
  };
  Bstr nul(std::string(1, '\0'));
  EXPECT_EQ(FAULT_CALL(cFileFilter, in.c_str(), out.c_str(), nul.slot()),
            static_cast<int32_t>(without(data, '\0').size()));
  EXPECT_EQ(ReadBytes(out), std::optional<std::string>(without(data, '\0')));
  EXPECT_EQ(FAULT_CALL(cFileFilterNot, in.c_str(), out.c_str(), nul.slot()),
            static_cast<int32_t>(std::count(data.begin(), data.end(), '\0')));
  Bstr from(std::string(1, '\0')), to(std::string("\x01", 1));
  EXPECT_EQ(FAULT_CALL(cFileChangeChars, in.c_str(), from.slot(), to.slot(), (d / "w.tmp").c_str()),
            static_cast<int32_t>(data.size()));
  std::string mapped = data;
  std::replace(mapped.begin(), mapped.end(), '\0', '\x01');
  EXPECT_TRUE(ReadBytes(in) == std::optional<std::string>(mapped));
  Tally::Get().Fault(7);
}

// Any bytes at all into the UU decoder: it answers with the size of what it wrote.
TEST(HostileStrings, AnyBytesIntoTheUuDecoder) {
  TempDir d;
  std::string in = d / "noise.uue", out = d / "noise.bin";
  for (uint32_t seed = 0; seed < 40; ++seed) {
    std::string noise = RandomBytes(seed * 131 % 5000, 900 + seed);
    // Half of them made of characters a UU line uses, with line ends here and there.
    if (seed % 2 == 1)
      for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = i % 61 == 60 ? '\n' : static_cast<char>(32 + static_cast<unsigned char>(noise[i]) % 64);
    WriteBytes(in, noise);
    Kept kept(in);
    int32_t r = FAULT_CALL(cFileUUCP, in.c_str(), out.c_str(), 1);
    EXPECT_EQ(r, static_cast<int32_t>(ReadBytes(out).value_or("").size())) << seed;
    EXPECT_TRUE(kept.Same());
  }
  Tally::Get().Fault(40);
}

}  // namespace vnk::test
