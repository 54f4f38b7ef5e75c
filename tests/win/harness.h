// Test bench for the exports: loads the DLL of its own architecture (VARNOK-32.DLL or
// VARNOK-64.DLL) as a VB program does and offers every export as a typed callable
// generated from the export table, plus scratch folders, file helpers and host-string
// helpers.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <oleauto.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "frame/boundary.h"
#include "frame/result_codes.h"

namespace vnk::test {

using vnk::HostInt;

// One export, called through its GetProcAddress pointer, with the argument types a
// caller of the ANSI export passes (Twin false) or of its Unicode twin cNameW (Twin true:
// `const wchar_t*` for a ByVal String, UTF-16 BSTRs in ByRef slots, arrays and records).
// Integer results are read in their low 16 bits only, as a VB caller reads them.
template <class K, bool Twin>
using Param = std::conditional_t<Twin, typename K::twin, typename K::call>;
template <class S, bool Twin = false>
struct Export;
template <class R, class... A, bool Twin>
struct Export<Sig<R, A...>, Twin> {
  using Fn = std::conditional_t<Twin, typename Sig<R, A...>::twin_call, typename Sig<R, A...>::call>;
  Fn fn = nullptr;
  const char* label = "";
  auto operator()(Param<A, Twin>... args) const {
    if (fn == nullptr) throw std::runtime_error(std::string("export missing: ") + label);
    if constexpr (R::id == Kind::Int)
      return static_cast<int16_t>(fn(args...));
    else
      return fn(args...);
  }
};

// Every export as dll().cName, and its Unicode twin as dll().cNameW.
struct Dll {
  HMODULE module = nullptr;
#define VNK_MEMBER(name, R, ...) Export<vnk::decl::name> name; Export<vnk::decl::name, true> name##W;
  VNK_EXPORTS(VNK_MEMBER)
#undef VNK_MEMBER
};

// The library, loaded once per test program.
const Dll& dll();

// ---- Host strings ------------------------------------------------------------------

// Takes a String result: its bytes, after checking that it is a real BSTR (never null),
// and frees it as VB would.
std::string Take(BSTR b);

// A host string owned by the test, for ByRef String arguments and record fields.
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(std::string_view s);
  ~Bstr();
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR* slot() { return &b_; }
  std::string str() const;
  BSTR get() const { return b_; }

 private:
  BSTR b_ = nullptr;
};

// Takes a String result of a twin: its UTF-16 text, after checking that it is a real
// BSTR, and frees it.
std::wstring TakeW(BSTR b);

// A UTF-16 host string owned by the test, for the twins' ByRef String arguments and
// record fields.
class WBstr {
 public:
  WBstr() = default;
  explicit WBstr(std::wstring_view s);
  ~WBstr();
  WBstr(const WBstr&) = delete;
  WBstr& operator=(const WBstr&) = delete;
  BSTR* slot() { return &b_; }
  std::wstring str() const;
  BSTR get() const { return b_; }

 private:
  BSTR b_ = nullptr;
};

// ---- Files and folders --------------------------------------------------------------

// A fresh, empty folder under the system's temporary folder, removed with everything
// in it (whatever the attributes) when the test ends.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }
  std::string operator/(std::string_view name) const { return path_ + "\\" + std::string(name); }

 private:
  std::string path_;
};

void WriteBytes(const std::string& path, std::string_view bytes);
std::optional<std::string> ReadBytes(const std::string& path);
bool Exists(const std::string& path);
// The files (not folders) a pattern matches, in the order the platform lists them.
std::vector<std::string> PlatformFiles(const std::string& pattern);
void MakeDir(const std::string& path);
void RemoveTree(const std::string& path);

// Random bytes from a fixed seed.
std::string RandomBytes(size_t n, uint32_t seed);

// A folder on a tiny file system that is nearly full, or nothing when the test run
// could not mount one (then the caller skips with GTEST_SKIP).
std::optional<std::string> FullDisk();

// The current directory, and a scope that restores it.
std::string CurrentDir();
class CurrentDirScope {
 public:
  explicit CurrentDirScope(const std::string& dir);
  ~CurrentDirScope();

 private:
  std::string saved_;
};

}  // namespace vnk::test
