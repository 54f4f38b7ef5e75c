// Test bench implementation.
#include "tests/win/harness.h"

#include <random>

namespace vnk::test {

const Dll& dll() {
  static const Dll loaded = [] {
    Dll d;
    d.module = LoadLibraryA(VNK_DLL_NAME);
    if (d.module == nullptr) throw std::runtime_error(VNK_DLL_NAME " could not be loaded");
#define VNK_BIND(name, R, ...)                                                                  \
  d.name.label = #name;                                                                         \
  d.name.fn = reinterpret_cast<decltype(d.name.fn)>(reinterpret_cast<void*>(GetProcAddress(d.module, #name))); \
  d.name##W.label = #name "W";                                                                  \
  d.name##W.fn = reinterpret_cast<decltype(d.name##W.fn)>(reinterpret_cast<void*>(GetProcAddress(d.module, #name "W")));
    VNK_EXPORTS(VNK_BIND)
#undef VNK_BIND
    return d;
  }();
  return loaded;
}

std::string Take(BSTR b) {
  EXPECT_NE(b, nullptr) << "a String result must be a real BSTR, never null";
  if (b == nullptr) return {};
  std::string s(reinterpret_cast<const char*>(b), SysStringByteLen(b));
  SysFreeString(b);
  return s;
}

Bstr::Bstr(std::string_view s) : b_(SysAllocStringByteLen(s.data(), static_cast<UINT>(s.size()))) {}
Bstr::~Bstr() { SysFreeString(b_); }
std::string Bstr::str() const {
  if (b_ == nullptr) return {};
  return {reinterpret_cast<const char*>(b_), SysStringByteLen(b_)};
}

std::wstring TakeW(BSTR b) {
  EXPECT_NE(b, nullptr) << "a String result must be a real BSTR, never null";
  if (b == nullptr) return {};
  std::wstring s(b, SysStringLen(b));
  SysFreeString(b);
  return s;
}

WBstr::WBstr(std::wstring_view s) : b_(SysAllocStringLen(s.data(), static_cast<UINT>(s.size()))) {}
WBstr::~WBstr() { SysFreeString(b_); }
std::wstring WBstr::str() const {
  if (b_ == nullptr) return {};
  return {b_, SysStringLen(b_)};
}

TempDir::TempDir() {
  char base[MAX_PATH];
  GetTempPathA(sizeof base, base);
  static unsigned counter = 0;
  for (;;) {
    char name[MAX_PATH];
    snprintf(name, sizeof name, "%svnk%lu_%u", base, GetCurrentProcessId(), counter++);
    if (CreateDirectoryA(name, nullptr)) {
      path_ = name;
      return;
    }
  }
}

TempDir::~TempDir() {
  // A test may leave the process inside the folder; step out so that it can go.
  char cur[MAX_PATH];
  GetCurrentDirectoryA(sizeof cur, cur);
  if (_strnicmp(cur, path_.c_str(), path_.size()) == 0) {
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    SetCurrentDirectoryA(base);
  }
  RemoveTree(path_);
}

void WriteBytes(const std::string& path, std::string_view bytes) {
  FILE* f = fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  size_t written = bytes.empty() ? 0 : fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
  ASSERT_EQ(written, bytes.size()) << path;
}

std::optional<std::string> ReadBytes(const std::string& path) {
  FILE* f = fopen(path.c_str(), "rb");
  if (f == nullptr) return std::nullopt;
  std::string s;
  char buf[65536];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
  fclose(f);
  return s;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> PlatformFiles(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA(pattern.c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return names;
}

void MakeDir(const std::string& path) { ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path; }

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((path + "\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      std::string full = path + "\\" + name;
      SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(full);
      else
        DeleteFileA(full.c_str());
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryA(path.c_str());
}

std::string RandomBytes(size_t n, uint32_t seed) {
  std::mt19937 gen(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(gen() & 0xFF);
  return s;
}

std::optional<std::string> FullDisk() {
  const char* dir = getenv("VNK_FULL_DISK");
  if (dir == nullptr || *dir == '\0') return std::nullopt;
  return std::string(dir);
}

std::string CurrentDir() {
  char cur[MAX_PATH];
  GetCurrentDirectoryA(sizeof cur, cur);
  return cur;
}

CurrentDirScope::CurrentDirScope(const std::string& dir) : saved_(CurrentDir()) {
  SetCurrentDirectoryA(dir.c_str());
}
CurrentDirScope::~CurrentDirScope() { SetCurrentDirectoryA(saved_.c_str()); }

}  // namespace vnk::test
