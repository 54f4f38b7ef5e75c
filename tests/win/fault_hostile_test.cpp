// Hostile input through every export: paths of 259 to 4000 characters, names holding
// every byte from 0x01 to 0xFF, empty strings, strings of separators or dots, arrays with
// unusual bounds or none at all, string slots holding NULs. Every String argument is
// placed against an inaccessible page and every ByRef record and number in front of
// one, so a read or write past its end stops the program. The calls run in a sandbox
// folder; what lies outside it is only read, never handed to an export that writes.
// The Unicode twins (cNameW) take the same hostile and null arguments in UTF-16, and
// Twins.DoWhatTheirExportsDo calls each twin beside its export on the same scratch folder.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "host/host_args.h"
#include "tests/win/fault_util.h"

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

std::vector<std::string> EntryNames(const std::string& dir);

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

  // Back to the state of a fresh sandbox: the current folder holds the input alone.
  void Clean() {
    SetCurrentDirectoryA(cwd_.c_str());
    for (const std::string& name : EntryNames(cwd_)) {
      if (name == "in.txt") continue;
      std::string full = cwd_ + "\\" + name;
      SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      // A call may have left read-only files in a folder.
      if (GetFileAttributesA(full.c_str()) & FILE_ATTRIBUTE_DIRECTORY)
        RemoveLongTree(std::wstring(full.begin(), full.end()));
      else
        DeleteFileA(full.c_str());
    }
    Reset();
  }

  // What a call could have changed in the current folder: each entry's name, size and
  // attributes, the input's bytes, and the current folder itself.
  std::string State() const {
    std::string state = CurrentDir() + "\n";
    for (const std::string& name : EntryNames(cwd_)) {
      WIN32_FILE_ATTRIBUTE_DATA data{};
      GetFileAttributesExA((cwd_ + "\\" + name).c_str(), GetFileExInfoStandard, &data);
      state += name + " " + std::to_string(data.nFileSizeLow) + " " + std::to_string(data.dwFileAttributes) + "\n";
    }
    return state + ReadBytes(cwd_ + "\\in.txt").value_or("<no input>");
  }
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

// Every entry of a folder but "." and "..", sorted.
std::vector<std::string> EntryNames(const std::string& dir) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = fd.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  std::sort(names.begin(), names.end());
  return names;
}

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

// What stands in one argument position in place of its ordinary value: nothing, a
// null pointer, the empty value ("" or a zero-length BSTR), or an empty holder (a null
// BSTR in a String slot, a null SAFEARRAY* for a never dimensioned array).
enum class Null { None, Pointer, Empty, Contents };

struct CallSetup {
  const GuardedString* hostile;
  int hostile_at;  // argument position that receives it
  int32_t long_value;
  int16_t int_value;
  int null_at = -1;  // argument position that receives null_kind
  Null null_kind = Null::None;
  // When set, each String argument names a file of its own ("in.txt" for the first,
  // "o<position>.txt" for the others) so that a call which writes can be seen to.
  bool own_names = false;
};

const GuardedString& Benign() {
  static const GuardedString in("in.txt");
  return in;
}

const char* BenignAt(const CallSetup& s, int at) {
  if (!s.own_names || at == 0) return Benign().c_str();
  static const GuardedString* names[8] = {};
  if (names[at] == nullptr) names[at] = new GuardedString("o" + std::to_string(at) + ".txt");
  return names[at]->c_str();
}

bool NullAt(const CallSetup& s, int at, Null kind) { return s.null_at == at && s.null_kind == kind; }

template <class K>
struct Arg;

template <>
struct Arg<kind::Str> {
  const char* p;
  Arg(const CallSetup& s, int at)
      : p(NullAt(s, at, Null::Empty) ? "" : at == s.hostile_at ? s.hostile->c_str() : BenignAt(s, at)) {}
  const char* pass() { return p; }
};

template <>
struct Arg<kind::StrRef> {
  BSTR b;
  Arg(const CallSetup& s, int at)
      : b(NullAt(s, at, Null::Contents) ? nullptr
          : NullAt(s, at, Null::Empty)  ? SysAllocStringByteLen(nullptr, 0)
                                        : SysAllocStringByteLen("a\0b", 3)) {}
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
  ~Arg() { FreeParts(*rec.get()); }
  PathParts* pass() { return rec.get(); }
};

template <>
struct Arg<kind::StrArray> {
  HostArray a{VT_BSTR, -2, 3};
  SAFEARRAY* none = nullptr;
  bool undimensioned;
  Arg(const CallSetup& s, int at) : undimensioned(NullAt(s, at, Null::Contents)) {
    FillStrings(a, {"one", std::string("t\0o", 3), ""});
  }
  SAFEARRAY** pass() { return undimensioned ? &none : a.ref(); }
};

template <>
struct Arg<kind::AnyArray> {
  HostArray a{VT_I4, 7, 5};
  SAFEARRAY* none = nullptr;
  bool undimensioned;
  Arg(const CallSetup& s, int at) : undimensioned(NullAt(s, at, Null::Contents)) {}
  SAFEARRAY** pass() { return undimensioned ? &none : a.ref(); }
};

// An argument of a call, or a null pointer in its place when the setup says so.
template <class K>
struct SetupArg : Arg<K> {
  bool null_pointer;
  SetupArg(const CallSetup& s, int at) : Arg<K>(s, at), null_pointer(NullAt(s, at, Null::Pointer)) {}
  auto pass() {
    using P = decltype(Arg<K>::pass());
    if constexpr (std::is_pointer_v<P>) {
      if (null_pointer) return P{nullptr};
    }
    return Arg<K>::pass();
  }
};

// ---- The same call to a Unicode twin -------------------------------------------------

// Bytes widened one for one to UTF-16 code units: ASCII stays what it was, and every
// other byte becomes the character of the same number, so a hostile string keeps its
// length in the units a twin counts.
std::wstring Widened(std::string_view bytes) {
  std::wstring w(bytes.size(), L'\0');
  for (size_t i = 0; i < bytes.size(); ++i) w[i] = static_cast<unsigned char>(bytes[i]);
  return w;
}

BSTR WideBstr(BSTR bytes) {
  if (bytes == nullptr) return nullptr;
  std::wstring w = Widened(std::string_view(reinterpret_cast<const char*>(bytes), SysStringByteLen(bytes)));
  return SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
}

// What a host string holds, as text to compare: a byte BSTR's bytes, a UTF-16 BSTR in
// UTF-8 (the same bytes when both hold the same ASCII text).
std::string Text(BSTR b, bool wide) {
  if (b == nullptr) return "<null>";
  if (!wide) return std::string(reinterpret_cast<const char*>(b), SysStringByteLen(b));
  int n = WideCharToMultiByte(CP_UTF8, 0, b, static_cast<int>(SysStringLen(b)), nullptr, 0, nullptr, nullptr);
  std::string s(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, b, static_cast<int>(SysStringLen(b)), s.data(), n, nullptr, nullptr);
  return s;
}

// The elements of a string array of any shape, with its bounds, as text.
std::string ArrayText(SAFEARRAY* a, bool wide) {
  if (a == nullptr) return "<no array>";
  std::string all = "dims " + std::to_string(a->cDims);
  size_t count = 1;
  for (USHORT d = 0; d < a->cDims; ++d) {
    all += " [" + std::to_string(a->rgsabound[d].lLbound) + " n" + std::to_string(a->rgsabound[d].cElements) + "]";
    count *= a->rgsabound[d].cElements;
  }
  if (a->cbElements != sizeof(BSTR) || !(a->fFeatures & FADF_BSTR))
    return all + " " + std::string(static_cast<const char*>(a->pvData), count * a->cbElements);
  for (size_t i = 0; i < count; ++i) all += " \"" + Text(static_cast<BSTR*>(a->pvData)[i], wide) + "\"";
  return all;
}

std::string PartsText(const PathParts& p, bool wide) {
  return Text(p.Drive, wide) + "|" + Text(p.Directory, wide) + "|" + Text(p.FileName, wide) + "|" +
         Text(p.Extension, wide);
}

// An argument of the export's Unicode twin made from the one the export gets (Narrow<K>,
// built from the same setup): a String widened into a block against an inaccessible page,
// String slots, arrays and records holding UTF-16 BSTRs of the same characters, an Integer
// with nothing in its upper bits; a null pointer or a null BSTR stays null. Every other
// kind passes as the export gets it. out() shows what the call left in it, as the
// export's argument shows it.
template <class K, template <class> class Narrow>
struct WideArg : Narrow<K> {
  template <class Source>
  WideArg(const Source& s, int at) : Narrow<K>(s, at) {}
};

template <template <class> class Narrow>
struct WideArg<kind::Int, Narrow> : Narrow<kind::Int> {
  template <class Source>
  WideArg(const Source& s, int at) : Narrow<kind::Int>(s, at) {}
  int16_t pass() { return static_cast<int16_t>(Narrow<kind::Int>::pass().slot); }
};

template <template <class> class Narrow>
struct WideArg<kind::Str, Narrow> : Narrow<kind::Str> {
  std::unique_ptr<Guarded> block;
  template <class Source>
  WideArg(const Source& s, int at) : Narrow<kind::Str>(s, at) {}
  const wchar_t* pass() {
    const char* p = Narrow<kind::Str>::pass();
    if (p == nullptr) return nullptr;
    std::wstring w = Widened(p);
    block = std::make_unique<Guarded>((w.size() + 1) * sizeof(wchar_t));
    memcpy(block->data(), w.c_str(), (w.size() + 1) * sizeof(wchar_t));
    return reinterpret_cast<const wchar_t*>(block->data());
  }
};

template <template <class> class Narrow>
struct WideArg<kind::StrRef, Narrow> : Narrow<kind::StrRef> {
  BSTR wide = nullptr;
  template <class Source>
  WideArg(const Source& s, int at) : Narrow<kind::StrRef>(s, at) {}
  ~WideArg() { SysFreeString(wide); }
  WideArg(const WideArg&) = delete;
  WideArg& operator=(const WideArg&) = delete;
  BSTR* pass() {
    BSTR* p = Narrow<kind::StrRef>::pass();
    if (p == nullptr) return nullptr;
    wide = WideBstr(*p);
    return &wide;
  }
  std::string out() const { return Text(wide, true); }
};

template <template <class> class Narrow>
struct WideArg<kind::StrArray, Narrow> : Narrow<kind::StrArray> {
  SAFEARRAY* wide = nullptr;
  template <class Source>
  WideArg(const Source& s, int at) : Narrow<kind::StrArray>(s, at) {}
  ~WideArg() {
    if (wide != nullptr) SafeArrayDestroy(wide);
  }
  WideArg(const WideArg&) = delete;
  WideArg& operator=(const WideArg&) = delete;
  SAFEARRAY** pass() {
    SAFEARRAY** p = Narrow<kind::StrArray>::pass();
    if (p == nullptr) return nullptr;
    if (*p == nullptr || FAILED(SafeArrayCopy(*p, &wide))) return &wide;
    if ((wide->fFeatures & FADF_BSTR) && wide->cbElements == sizeof(BSTR)) {
      size_t count = 1;
      for (USHORT d = 0; d < wide->cDims; ++d) count *= wide->rgsabound[d].cElements;
      BSTR* items = static_cast<BSTR*>(wide->pvData);
      for (size_t i = 0; i < count; ++i) {
        BSTR w = WideBstr(items[i]);
        SysFreeString(items[i]);
        items[i] = w;
      }
    }
    return &wide;
  }
  std::string out() const { return ArrayText(wide, true); }
};

template <template <class> class Narrow>
struct WideArg<kind::PathPartsRef, Narrow> : Narrow<kind::PathPartsRef> {
  Guarded block{sizeof(PathParts)};
  PathParts* rec = nullptr;
  template <class Source>
  WideArg(const Source& s, int at) : Narrow<kind::PathPartsRef>(s, at) {}
  ~WideArg() {
    if (rec != nullptr) FreeParts(*rec);
  }
  PathParts* pass() {
    PathParts* p = Narrow<kind::PathPartsRef>::pass();
    if (p == nullptr) return nullptr;
    rec = new (block.data()) PathParts{WideBstr(p->Drive), WideBstr(p->Directory), WideBstr(p->FileName),
                                       WideBstr(p->Extension)};
    return rec;
  }
  std::string out() const { return rec == nullptr ? "<none>" : PartsText(*rec, true); }
};

template <class Sig, bool Twin = false, template <class> class Arg = SetupArg>
struct Caller;
template <class R, class... A, bool Twin, template <class> class Arg>
struct Caller<Sig<R, A...>, Twin, Arg> {
  template <class K>
  using ArgOf = std::conditional_t<Twin, WideArg<K, Arg>, Arg<K>>;

  // Makes the call and returns its result as text ("<null BSTR>" for a String result
  // that is no string at all; a twin's String in UTF-8). When outputs is given, it gets
  // what the call left in each ByRef argument, one line per argument.
  template <class Source>
  static std::string Call(const Export<Sig<R, A...>, Twin>& fn, const Source& s, std::string* outputs = nullptr) {
    HostArgs<ArgOf, A...> args(s);
    auto r = args.Call(fn);
    if (outputs != nullptr) {
      args.Each([&](auto& arg, size_t at) {
        if constexpr (requires { arg.out(); }) *outputs += std::to_string(at + 1) + ": " + arg.out() + "\n";
      });
    }
    if constexpr (R::id == Kind::String) {
      if (r == nullptr) return "<null BSTR>";
      std::string text = Text(r, Twin);
      SysFreeString(r);
      EXPECT_LT(text.size(), 70000u) << g_current;
      return "\"" + text + "\"";
    } else if constexpr (R::id == Kind::Double) {
      EXPECT_FALSE(std::isnan(r)) << g_current;
      char text[64];
      snprintf(text, sizeof text, "%.17g", r);
      return text;
    } else {
      return std::to_string(static_cast<long long>(r));
    }
  }
};

// Runs fn once per String position of the export with the hostile string there.
// A twin (cNameW) is called as its export is, with the hostile string in UTF-16.
template <class S, bool Twin>
int CallWithHostile(const char* name, const Export<S, Twin>& fn, Sandbox& box, const GuardedString& hostile,
                    const std::string& label, bool inside) {
  if (fn.fn == nullptr) return 0;
  bool reader = OnlyReads(name);
  const std::string shown = std::string(name) + (Twin ? "W" : "");
  if (!inside && !reader) return 0;
  int calls = 0;
  for (int at = 0; at < S::arg_count; ++at) {
    if (S::args[at] != Kind::Str) continue;
    for (int32_t long_value : {0, 40}) {
      bool has_long = false;
      for (Kind id : S::args) has_long |= id == Kind::Long;
      if (long_value != 0 && !has_long) continue;
      if (reader && !box.dirty()) box.RestoreCurrentDir();
      else box.Reset();
      if (!reader) box.MarkDirty();
      g_current = shown + ", argument " + std::to_string(at + 1) + " = " + label;
      // The one-at-a-time listings read their pattern only on a first call (-1); every
      // other Integer is 0: save, encode, no recursion.
      std::string n(name);
      int16_t int_value = (n == "cFilesInDirectory" || n == "cSubDirectory") ? -1 : 0;
      std::string result = Caller<S, Twin>::Call(fn, CallSetup{&hostile, at, long_value, int_value});
      EXPECT_NE(result, "<null BSTR>") << g_current;
      // An export that only reads leaves its input as it was.
      if (reader) {
        EXPECT_TRUE(box.InputKept()) << g_current;
      }
      ++calls;
    }
  }
  if (calls > 0) Tally::Get().Export(shown.c_str());
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


// ---- Null arguments, as VB passes them ------------------------------------------------

// VB passes a null pointer for vbNullString and for a String never assigned, may hold a
// null BSTR in a String slot and a null SAFEARRAY* for an array never dimensioned, and
// passes any ByRef argument as a null pointer when it is declared As Any and given
// ByVal 0&. Each case below makes one such call in the sandbox and answers "" when the
// call kept its promise, or what went wrong.
struct NullCase {
  std::string label;
  std::function<std::string(Sandbox&)> run;
};

// Results that may change between two calls while other tests write to the same disk:
// free and used space, and the folder trees that "" names (the current drive's root).
bool ResultMayChange(const std::string& name) {
  for (const char* n : {"cGetDiskFree", "cGetDiskUsed", "cAllSubDirectories", "cCountDirectories", "cSubDirectory"})
    if (name == n) return true;
  return false;
}

// A result for a message, cut to a readable length.
std::string Shown(const std::string& result) {
  return result.size() <= 120 ? result : result.substr(0, 120) + "... (" + std::to_string(result.size()) + " bytes)";
}

// A twin's cases are its export's: a null `const wchar_t*` is L"", and a null ByRef
// pointer or array is refused with the answer the export gives to the same call.
template <class S, bool Twin>
void AddNullCases(const char* name, const Export<S, Twin>& fn, const Export<S>& ansi, std::vector<NullCase>& cases) {
  auto setup = [n = std::string(name)](int at, Null what) {
    // The one-at-a-time listings read their pattern only on a first call (-1).
    int16_t int_value = (n == "cFilesInDirectory" || n == "cSubDirectory") ? -1 : 0;
    return CallSetup{nullptr, -1, 0, int_value, at, what, true};
  };
  const std::string shown = std::string(name) + (Twin ? "W" : "");
  for (int at = 0; at < S::arg_count; ++at) {
    const Kind id = S::args[at];
    if (id == Kind::Int || id == Kind::Long) continue;
    const std::string where = shown + ", argument " + std::to_string(at + 1);
    // A null String, or a null BSTR in a String slot, is the empty string: the same
    // result and the same files as "".
    if (id == Kind::Str || id == Kind::StrRef) {
      const Null holder = id == Kind::Str ? Null::Pointer : Null::Contents;
      cases.push_back({where + (id == Kind::Str ? " = vbNullString" : " = a slot holding a null BSTR"),
                       [=, &fn](Sandbox& box) -> std::string {
                         box.Clean();
                         std::string want = Caller<S, Twin>::Call(fn, setup(at, Null::Empty));
                         std::string after_empty = box.State();
                         box.Clean();
                         std::string got = Caller<S, Twin>::Call(fn, setup(at, holder));
                         if (got != want && !ResultMayChange(name))
                           return "answers " + Shown(got) + " where the empty string answers " + Shown(want);
                         if (box.State() != after_empty) return "leaves other files than the empty string leaves";
                         return "";
                       }});
    }
    // A null pointer for a ByRef argument, and an array never dimensioned: refused,
    // nothing written.
    auto refused = [=, &fn, &ansi](Null what) {
      return [=, &fn, &ansi](Sandbox& box) -> std::string {
        box.Clean();
        std::string before = box.State();
        std::string got = Caller<S, Twin>::Call(fn, setup(at, what));
        if (got == "<null BSTR>") return "returns a null BSTR";
        if (box.State() != before) return "writes although it cannot do its work (answer " + Shown(got) + ")";
        if constexpr (Twin) {
          std::string want = Caller<S>::Call(ansi, setup(at, what));
          box.Clean();
          if (got != want && !ResultMayChange(name))
            return "answers " + Shown(got) + " where " + name + " answers " + Shown(want);
        }
        return "";
      };
    };
    if (id != Kind::Str) cases.push_back({where + " = a null pointer (ByVal 0&)", refused(Null::Pointer)});
    if (id == Kind::StrArray || id == Kind::AnyArray)
      cases.push_back({where + " = an array never dimensioned", refused(Null::Contents)});
  }
}

std::vector<NullCase> NullCases() {
  std::vector<NullCase> cases;
#define VNK_NULL_CASES(name, R, ...)                   \
  AddNullCases(#name, dll().name, dll().name, cases); \
  AddNullCases(#name, dll().name##W, dll().name, cases);
  VNK_EXPORTS(VNK_NULL_CASES)
#undef VNK_NULL_CASES
  return cases;
}

constexpr char kSweepFrom[] = "VNK_NULL_SWEEP_FROM";

// In the child: a fault ends the process at once, with its code, instead of starting a
// debugger; the parent sees which call was running.
LONG WINAPI EndOnFault(EXCEPTION_POINTERS* info) {
  printf("fault 0x%08lx\n", info->ExceptionRecord->ExceptionCode);
  fflush(stdout);
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}

struct ChildRun {
  size_t last_started = SIZE_MAX;
  bool finished = false;
  std::vector<std::pair<size_t, std::string>> bad;
};

// Runs the sweep's cases from `from` on in a child process whose output goes to `log`.
// A child that makes no progress for a minute is taken to hang and is stopped.
ChildRun RunChild(size_t from, const std::string& log, bool* hung) {
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, sizeof exe);
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileA(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                           0, nullptr);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = si.hStdError = out;
  std::string cmd = std::string("\"") + exe + "\" --gtest_filter=NullArguments.ChildRun";
  SetEnvironmentVariableA(kSweepFrom, std::to_string(from).c_str());
  PROCESS_INFORMATION pi{};
  BOOL started = CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  SetEnvironmentVariableA(kSweepFrom, nullptr);
  CloseHandle(out);
  ChildRun run;
  *hung = false;
  if (!started) return run;
  size_t seen = 0;
  int quiet = 0;
  while (WaitForSingleObject(pi.hProcess, 1000) == WAIT_TIMEOUT) {
    size_t now = ReadBytes(log).value_or("").size();
    quiet = now == seen ? quiet + 1 : 0;
    seen = now;
    if (quiet >= 60) {
      TerminateProcess(pi.hProcess, 4);
      WaitForSingleObject(pi.hProcess, INFINITE);
      *hung = true;
      break;
    }
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  std::string text = ReadBytes(log).value_or("");
  size_t pos = 0;
  while (pos < text.size()) {
    size_t eol = text.find('\n', pos);
    if (eol == std::string::npos) eol = text.size();
    std::string line = text.substr(pos, eol - pos);
    pos = eol + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("case ", 0) == 0) run.last_started = std::stoul(line.substr(5));
    if (line.rfind("bad ", 0) == 0) {
      size_t space = line.find(' ', 4);
      run.bad.emplace_back(std::stoul(line.substr(4, space - 4)), line.substr(space + 1));
    }
    if (line == "end") run.finished = true;
  }
  return run;
}

}  // namespace

// Every export, every pointer argument: a null pointer, and where it applies a null
// BSTR or an array never dimensioned. Each call runs in a child process so that a call
// that brings its caller down is reported and the sweep goes on with the next one.
TEST(NullArguments, EveryExportEveryPointer) {
  std::vector<NullCase> cases = NullCases();
  TempDir logs;
  std::vector<std::string> failures;
  size_t from = 0;
  int children = 0;
  while (from < cases.size()) {
    bool hung = false;
    ChildRun run = RunChild(from, logs / ("child" + std::to_string(children++) + ".txt"), &hung);
    for (const auto& [index, what] : run.bad) failures.push_back(cases[index].label + ": " + what);
    if (run.finished) break;
    ASSERT_NE(run.last_started, SIZE_MAX) << "the child process did not start its calls";
    failures.push_back(cases[run.last_started].label + (hung ? ": hangs" : ": brings the caller down"));
    from = run.last_started + 1;
  }
  for (const std::string& f : failures) ADD_FAILURE() << f;
  Tally::Get().Fault(static_cast<long>(cases.size()));
#define VNK_NULL_TALLY(name, R, ...) Tally::Get().Export(#name), Tally::Get().Export(#name "W");
  VNK_EXPORTS(VNK_NULL_TALLY)
#undef VNK_NULL_TALLY
  printf("%zu calls with null arguments in %d processes, %zu failed\n", cases.size(), children, failures.size());
}

// The child's side of the sweep; skipped when the test program runs on its own.
TEST(NullArguments, ChildRun) {
  const char* from = getenv(kSweepFrom);
  if (from == nullptr) GTEST_SKIP() << "started by NullArguments.EveryExportEveryPointer";
  SetUnhandledExceptionFilter(EndOnFault);
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  Sandbox box;
  std::vector<NullCase> cases = NullCases();
  for (size_t i = std::stoul(from); i < cases.size(); ++i) {
    printf("case %zu\n", i);
    fflush(stdout);
    g_current = cases[i].label;
    std::string bad = cases[i].run(box);
    std::replace(bad.begin(), bad.end(), '\n', ' ');
    if (!bad.empty()) printf("bad %zu %s\n", i, bad.c_str());
    fflush(stdout);
  }
  printf("end\n");
  fflush(stdout);
}

namespace {

// ---- Twins beside their exports ---------------------------------------------------------

// The twin sweep calls each export and its twin with the same values, chosen by the
// argument's name in the export table, in three variants: names that exist, names of
// other kinds, names that do not exist yet (a folder to make, a new Target). A name
// missing here fails the sweep, so a new row of the table gets values.
const char* SweepValue(const std::string& arg, int variant) {
  static const std::map<std::string, std::array<const char*, 3>> kValues = {
      {"Source", {"src.txt", "src.txt", "sub\\a.txt"}},
      {"Target", {"new.txt", "second.txt", "sub\\made.txt"}},
      {"FileName", {"src.txt", "sub\\a.txt", "hidden.txt"}},
      {"File1", {"src.txt", "src.txt", "second.txt"}},
      {"File2", {"second.txt", "src.txt", "hidden.txt"}},
      {"FirstFile", {"src.txt", "second.txt", "src.txt"}},
      {"SecondFile", {"second.txt", "src.txt", "missing.txt"}},
      {"OldName", {"src.txt", "sub", "src.txt"}},
      {"NewName", {"renamed.txt", "moved", "second.txt"}},
      {"WorkFile", {"work.tmp", "sub\\work.tmp", "work.tmp"}},
      {"ListFile", {"list.txt", "second.txt", "sub\\list.txt"}},
      {"ResultFile", {"found.txt", "second.txt", "sub\\found.txt"}},
      {"Pattern", {"sub\\*.txt", "*", "sub\\*"}},
      {"FilePattern", {"*.txt", "*", "*.dat"}},
      {"Folder", {"sub", "empty", "made"}},
      {"StartFolder", {"sub", ".", "sub\\deep"}},
      {"Path", {"sub\\a.txt", "C:\\dir\\name.ext", "sub\\deep\\"}},
      {"Drive", {"", "C:", "Z:\\"}},
      {"Directory", {"\\dir\\", "sub", ""}},
      {"Extension", {"txt", ".bak", ""}},
      {"SearchText", {"line", "LINE", "a"}},
      {"ReplaceText", {"row", "", "AB"}},
      {"Chars", {"aeiou", "\t ", "xyz"}},
      {"FromChars", {"abc", "lt", "e"}},
      {"ToChars", {"xyz", "LT", "E"}},
      {"Prefix", {"ab", "", "x"}},
      {"CaseSensitive", {"0", "1", "0"}},
      {"Mode", {"0", "1", "0"}},
      {"Flag", {"2", "1", "32"}},
      {"Direction", {"0", "1", "0"}},
      {"FirstCall", {"-1", "0", "-1"}},
      {"AttribFilter", {"255", "16", "0"}},
      {"Recurse", {"1", "0", "1"}},
      {"Which", {"0", "1", "1"}},
      {"RemoveFolder", {"0", "1", "1"}},
      {"SortType", {"1", "10", "2"}},
      {"TabSize", {"4", "8", "1"}},
      {"RecordLength", {"0", "0", "6"}},
      {"KeyOffset", {"0", "0", "2"}},
      {"KeyLength", {"0", "0", "3"}},
      {"MaxLength", {"12", "5", "260"}},
  };
  auto it = kValues.find(arg);
  if (it == kValues.end()) {
    ADD_FAILURE() << "the twin sweep has no values for an argument named " << arg;
    return "";
  }
  return it->second[variant];
}

struct SweepSetup {
  const char* const* names;  // the export's argument names
  int variant;
  // A listing's FirstCall when set: -1 for the first call before one that goes on, 0
  // for the calls that finish the listing after it.
  std::optional<int16_t> first_call;
};

template <class K>
struct SweepArg;

template <>
struct SweepArg<kind::Str> {
  std::string text;
  SweepArg(const SweepSetup& s, int at) : text(SweepValue(s.names[at], s.variant)) {}
  const char* pass() { return text.c_str(); }
};

template <>
struct SweepArg<kind::StrRef> {
  BSTR b;
  SweepArg(const SweepSetup& s, int at) {
    std::string text = SweepValue(s.names[at], s.variant);
    b = SysAllocStringByteLen(text.data(), static_cast<UINT>(text.size()));
  }
  ~SweepArg() { SysFreeString(b); }
  BSTR* pass() { return &b; }
  std::string out() const { return Text(b, false); }
};

template <>
struct SweepArg<kind::Int> {
  int16_t v;
  SweepArg(const SweepSetup& s, int at)
      : v(s.first_call && std::string(s.names[at]) == "FirstCall" ? *s.first_call
                                                                   : std::stoi(SweepValue(s.names[at], s.variant))) {}
  HostInt pass() { return HostInt(v); }
};

template <>
struct SweepArg<kind::Long> {
  int32_t v;
  SweepArg(const SweepSetup& s, int at) : v(std::stoi(SweepValue(s.names[at], s.variant))) {}
  int32_t pass() { return v; }
};

template <>
struct SweepArg<kind::LongRef> {
  int32_t v = 12345;
  SweepArg(const SweepSetup&, int) {}
  int32_t* pass() { return &v; }
  std::string out() const { return std::to_string(v); }
};

template <>
struct SweepArg<kind::DoubleRef> {
  double v = 1.5;
  SweepArg(const SweepSetup&, int) {}
  double* pass() { return &v; }
  std::string out() const {
    char text[64];
    snprintf(text, sizeof text, "%.17g", v);
    return text;
  }
};

// Set to hidden and archive, to read-only, to nothing.
template <>
struct SweepArg<kind::FileAttribRef> {
  FileAttrib rec;
  SweepArg(const SweepSetup& s, int) {
    int16_t t = VB_TRUE;
    rec = s.variant == 0 ? FileAttrib{7, t, t, 0, 0, 0, 0, 0}
          : s.variant == 1 ? FileAttrib{7, 0, 0, 0, t, 0, 0, 0}
                           : FileAttrib{7, 0, 0, 0, 0, 0, 0, 0};
  }
  FileAttrib* pass() { return &rec; }
  std::string out() const {
    std::string all;
    for (int16_t f : {rec.Status, rec.Archive, rec.Hidden, rec.Normal, rec.ReadOnly, rec.SubDir, rec.System,
                      rec.Compressed})
      all += std::to_string(f) + " ";
    return all;
  }
};

template <>
struct SweepArg<kind::PathPartsRef> {
  PathParts rec{SysAllocStringByteLen("d", 1), SysAllocStringByteLen("\\x\\", 3), SysAllocStringByteLen("n", 1),
                SysAllocStringByteLen(".e", 2)};
  SweepArg(const SweepSetup&, int) {}
  ~SweepArg() { FreeParts(rec); }
  PathParts* pass() { return &rec; }
  std::string out() const { return PartsText(rec, false); }
};

// Names to save (or slots a load or a listing fills), from a lower bound of -2.
template <>
struct SweepArg<kind::StrArray> {
  HostArray a{VT_BSTR, -2, 4};
  SweepArg(const SweepSetup&, int) { FillStrings(a, {"one", "two", "", "four"}); }
  SAFEARRAY** pass() { return a.ref(); }
  std::string out() const { return ArrayText(a.get(), false); }
};

template <>
struct SweepArg<kind::AnyArray> {
  HostArray a{VT_I4, 3, 5};
  SweepArg(const SweepSetup&, int) {
    for (int i = 0; i < 5; ++i) static_cast<int32_t*>(a.data())[i] = 0x41424300 + i;
  }
  SAFEARRAY** pass() { return a.ref(); }
  std::string out() const { return ArrayText(a.get(), false); }
};

// The scratch folder both calls start from: text files, a hidden read-only one, a folder
// with files and folders in it, an empty folder; every file dated the same instant, so
// that the date exports answer alike whenever the folder was made.
void MakeScratch() {
  const std::string lines = "Line one\tof the text\r\nline two  with   spaces\r\nLINE three abc\r\nzeta\r\nalpha\r\n";
  WriteBytes("src.txt", lines);
  WriteBytes("second.txt", "second file\r\nbeta\r\n");
  WriteBytes("hidden.txt", "kept\r\n");
  MakeDir("sub");
  MakeDir("sub\\deep");
  MakeDir("sub\\deep2");
  MakeDir("empty");
  WriteBytes("sub\\a.txt", "a text\r\nwith lines\r\n");
  WriteBytes("sub\\b.dat", "bbbb");
  WriteBytes("sub\\deep\\c.txt", "deep\r\n");
  SYSTEMTIME st{2021, 3, 0, 14, 15, 9, 26, 0};
  FILETIME ft;
  SystemTimeToFileTime(&st, &ft);
  for (const char* f : {"src.txt", "second.txt", "hidden.txt", "sub\\a.txt", "sub\\b.dat", "sub\\deep\\c.txt"}) {
    HANDLE h = CreateFileA(f, FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(h, &ft, &ft, &ft);
    CloseHandle(h);
  }
  SetFileAttributesA("hidden.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
}

// Everything under a folder: each entry's path, attributes and, for a file, its bytes.
std::string Tree(const std::string& dir, const std::string& shown = "") {
  std::string all;
  for (const std::string& name : EntryNames(dir)) {
    std::string full = dir + "\\" + name;
    DWORD attrib = GetFileAttributesA(full.c_str());
    all += shown + name + " " + std::to_string(attrib);
    if (attrib & FILE_ATTRIBUTE_DIRECTORY) all += "\n" + Tree(full, shown + name + "\\");
    else all += " \"" + ReadBytes(full).value_or("<unreadable>") + "\"\n";
  }
  return all;
}

// Free and used space change while other tests write to the same disk.
bool DiskSpaceQuery(const std::string& name) { return name == "cGetDiskFree" || name == "cGetDiskUsed"; }

// What one side of a pair gave: the result, the ByRef outputs, and the scratch folder.
struct Outcome {
  std::string result, outputs, files;
};

// Runs one variant of the export (Twin false) or of its twin on a fresh scratch folder.
template <class S, bool Twin>
Outcome RunSide(const Export<S, Twin>& fn, const char* const* names, int variant, Sandbox& box) {
  box.Clean();
  MakeScratch();
  const std::string cwd = CurrentDir();
  bool listing = false;
  for (int at = 0; at < S::arg_count; ++at) listing |= std::string(names[at]) == "FirstCall";
  // A listing that goes on (FirstCall 0) goes on from a first call of its own side.
  if (listing && std::string(SweepValue("FirstCall", variant)) == "0")
    Caller<S, Twin, SweepArg>::Call(fn, SweepSetup{names, variant, -1});
  Outcome o;
  o.result = Caller<S, Twin, SweepArg>::Call(fn, SweepSetup{names, variant, std::nullopt}, &o.outputs);
  o.files = "current folder " + CurrentDir() + "\n" + Tree(cwd);
  // A listing holds its folder open until it has given its last name.
  if (listing)
    for (int n = 0; n < 100 && Caller<S, Twin, SweepArg>::Call(fn, SweepSetup{names, variant, 0}) != "\"\""; ++n) {}
  return o;
}

// Calls the export and its twin in every variant; a difference is one failure line.
template <class S>
int SweepPair(const char* name, const char* const* names, const Export<S>& ansi, const Export<S, true>& twin,
              Sandbox& box, std::vector<std::string>& failures) {
  if (ansi.fn == nullptr || twin.fn == nullptr) {
    failures.push_back(std::string(name) + ": the export or its twin is missing");
    return 0;
  }
  for (int variant = 0; variant < 3; ++variant) {
    std::string where = std::string(name) + "W, variant " + std::to_string(variant) + " (";
    for (int at = 0; at < S::arg_count; ++at) {
      Kind id = S::args[at];
      bool valued = id == Kind::Str || id == Kind::StrRef || id == Kind::Int || id == Kind::Long;
      where += (at ? ", " : "") + (valued ? std::string(SweepValue(names[at], variant)) : names[at]);
    }
    where += ")";
    g_current = where;
    Outcome a = RunSide(ansi, names, variant, box);
    Outcome w = RunSide(twin, names, variant, box);
    ++Tally::Get().inputs;
    if (a.result != w.result && !DiskSpaceQuery(name))
      failures.push_back(where + ": answers " + Shown(w.result) + " where " + name + " answers " + Shown(a.result));
    if (a.outputs != w.outputs)
      failures.push_back(where + ": leaves its ByRef arguments\n" + w.outputs + "where " + name + " leaves\n" +
                         a.outputs);
    if (a.files != w.files)
      failures.push_back(where + ": leaves the files\n" + w.files + "where " + name + " leaves\n" + a.files);
  }
  Tally::Get().Export((std::string(name) + "W").c_str());
  return 3;
}

}  // namespace

// Every twin beside its export, on ASCII names: the same values (the twin's in UTF-16),
// the same scratch folder before the call; the same result, the same ByRef outputs and
// the same files, bytes and attributes after it.
TEST(Twins, DoWhatTheirExportsDo) {
  SetUnhandledExceptionFilter(ReportCrash);
  Sandbox box;
  std::vector<std::string> failures;
  int variants = 0;
#define VNK_ARGUMENT_NAME(K, n) #n
#define VNK_SWEEP(name, R, ...)                                                                  \
  {                                                                                              \
    static const char* const names[] = {VNK_EACH_ARGUMENT(VNK_ARGUMENT_NAME, __VA_ARGS__)};      \
    variants += SweepPair(#name, names, dll().name, dll().name##W, box, failures);               \
  }
  VNK_EXPORTS(VNK_SWEEP)
#undef VNK_SWEEP
#undef VNK_ARGUMENT_NAME
  box.Clean();
  for (const std::string& f : failures) ADD_FAILURE() << f;
  printf("%d calls of every twin beside its export, %zu differ\n", variants, failures.size());
}

namespace {

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
#define VNK_HOSTILE(name, R, ...)                                              \
  calls += CallWithHostile(#name, dll().name, box, hostile, label, inside); \
  calls += CallWithHostile(#name, dll().name##W, box, hostile, label, inside);
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
