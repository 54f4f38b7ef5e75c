// Tools of the fault-injection tests: a tally of what was tried (faults injected,
// exports exercised, inputs compared byte for byte afterwards), snapshots of files that
// must come through a failure unchanged, arguments placed against an inaccessible page
// so that a read or write one byte too far stops the program, and a disk filled to the
// last byte.
#pragma once

#include <windows.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/win/harness.h"

namespace vnk::test::fault {

// ---- The tally ------------------------------------------------------------------------

// What one test program tried. At its end it is printed and written next to the program
// as fault-tally\<program>.txt, for the summary of the whole test run. The exports
// exercised include the Unicode twins (cNameW), which are counted apart.
struct Tally {
  long faults = 0;
  long inputs = 0;
  std::set<std::string> exports;
  std::map<std::string, std::string> skipped;  // what could not be tried, and why

  static Tally& Get() {
    static Tally t;
    return t;
  }
  void Fault(long n = 1) { faults += n; }
  // A twin is named as its export is, with a W after the name.
  static bool IsTwin(const std::string& name) {
#define VNK_TWIN_NAME(n, R, ...) if (name == #n "W") return true;
    VNK_EXPORTS(VNK_TWIN_NAME)
#undef VNK_TWIN_NAME
    return false;
  }
  void Export(const char* name) { exports.insert(name); }
  void Skip(const std::string& what, const std::string& why) { skipped[what] = why; }

  void Write() const {
    char exe[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string path(exe, n);
    size_t slash = path.find_last_of('\\');
    std::string dir = path.substr(0, slash) + "\\fault-tally";
    std::string base = path.substr(slash + 1);
    base = base.substr(0, base.find_last_of('.'));
    CreateDirectoryA(dir.c_str(), nullptr);
    std::string out;
    out += "program " + base + "\n";
    out += "faults " + std::to_string(faults) + "\n";
    out += "inputs " + std::to_string(inputs) + "\n";
    for (const std::string& e : exports) out += "export " + e + "\n";
    for (const auto& [what, why] : skipped) out += "skipped " + what + ": " + why + "\n";
    if (FILE* f = fopen((dir + "\\" + base + ".txt").c_str(), "wb")) {
      fwrite(out.data(), 1, out.size(), f);
      fclose(f);
    }
    size_t twins = 0;
    for (const std::string& e : exports) twins += IsTwin(e);
    printf("[fault tally] %s: %ld faults injected, %zu exports and %zu Unicode twins exercised, %ld inputs compared "
           "byte for byte\n",
           base.c_str(), faults, exports.size() - twins, twins, inputs);
    for (const auto& [what, why] : skipped) printf("[fault tally] not tried: %s: %s\n", what.c_str(), why.c_str());
  }
};

// Writes the tally when the program's tests are done.
class TallyReporter : public ::testing::Environment {
 public:
  void TearDown() override { Tally::Get().Write(); }
};
inline ::testing::Environment* const kTallyReporter = ::testing::AddGlobalTestEnvironment(new TallyReporter);

// Calls an export by name through the test bench and notes it as exercised.
#define FAULT_CALL(name, ...) (::vnk::test::fault::Tally::Get().Export(#name), dll().name(__VA_ARGS__))

// ---- Files that must come through unchanged ---------------------------------------

// A file's bytes and attributes, taken before a fault; Same() compares them afterwards
// byte for byte and counts the comparison.
class Kept {
 public:
  explicit Kept(std::string path) : path_(std::move(path)), bytes_(ReadBytes(path_)),
                                    attrib_(GetFileAttributesA(path_.c_str())) {}
  ::testing::AssertionResult Same() const {
    ++Tally::Get().inputs;
    std::optional<std::string> now = ReadBytes(path_);
    if (now != bytes_) {
      return ::testing::AssertionFailure() << path_ << " changed: " << (bytes_ ? bytes_->size() : 0) << " bytes before, "
                                           << (now ? std::to_string(now->size()) : std::string("none")) << " after";
    }
    DWORD a = GetFileAttributesA(path_.c_str());
    if (a != attrib_) return ::testing::AssertionFailure() << path_ << " attributes " << attrib_ << " became " << a;
    return ::testing::AssertionSuccess();
  }
  const std::string& path() const { return path_; }
  const std::optional<std::string>& bytes() const { return bytes_; }

 private:
  std::string path_;
  std::optional<std::string> bytes_;
  DWORD attrib_;
};

// ---- Arguments against an inaccessible page ---------------------------------------

// A block whose last byte is followed by a page the process may not touch: an export that
// reads a string past its terminator, or writes a record past its end, faults at once.
class Guarded {
 public:
  explicit Guarded(size_t bytes) {
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    size_t page = si.dwPageSize;
    size_t span = (bytes + page - 1) / page * page;
    base_ = static_cast<char*>(VirtualAlloc(nullptr, span + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD old;
    VirtualProtect(base_ + span, page, PAGE_NOACCESS, &old);
    data_ = base_ + span - bytes;
  }
  ~Guarded() { VirtualFree(base_, 0, MEM_RELEASE); }
  Guarded(const Guarded&) = delete;
  Guarded& operator=(const Guarded&) = delete;
  char* data() const { return data_; }

 private:
  char* base_ = nullptr;
  char* data_ = nullptr;
};

// A String argument whose terminator is the last readable byte.
class GuardedString {
 public:
  explicit GuardedString(const std::string& s) : text_(s), block_(s.size() + 1) {
    memcpy(block_.data(), s.c_str(), s.size() + 1);
  }
  const char* c_str() const { return block_.data(); }
  const std::string& str() const { return text_; }

 private:
  std::string text_;
  Guarded block_;
};

// ---- A full disk --------------------------------------------------------------------

// Fills the tiny file system to its last byte with one file, removed again when the
// scope ends; then not even the first block of an output fits.
class Filler {
 public:
  explicit Filler(const std::string& dir) : path_(dir + "\\~filler.bin") {
    HANDLE h = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    std::string chunk(4096, 'f');
    DWORD w = 0;
    while (WriteFile(h, chunk.data(), static_cast<DWORD>(chunk.size()), &w, nullptr) && w == chunk.size()) {}
    // What is left is smaller than a page; fill that too, byte by byte.
    while (WriteFile(h, "f", 1, &w, nullptr) && w == 1) {}
    CloseHandle(h);
  }
  ~Filler() { DeleteFileA(path_.c_str()); }
  Filler(const Filler&) = delete;
  Filler& operator=(const Filler&) = delete;

 private:
  std::string path_;
};

// Every file in a folder (no sub-folders), by name.
inline std::vector<std::string> FileNames(const std::string& dir) { return PlatformFiles(dir + "\\*"); }

}  // namespace vnk::test::fault
