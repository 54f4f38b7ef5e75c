// vnkfloor.exe: the floor under each family of the benchmark's rows, what a plain Win32
// program with no library in between takes for the same work under the same Wine. Prints
// one line in vnkbench's form, timed with QueryPerformanceCounter inside the process:
//   seconds=<s> result=<bytes or entries> peak_mb=<m> base_mb=<m>
//
//   vnkfloor read FILE...          ReadFile of each file in 1 MB blocks (search, counts, comparison)
//   vnkfloor copy FILE... TARGET   ReadFile/WriteFile of the files, one after another, into
//                                  TARGET in 1 MB blocks (copies, merge, the transforms)
//   vnkfloor walk FOLDER           FindFirstFileA/FindNextFileA over every folder below FOLDER,
//                                  each listed once (the tree searches and listings)
//   vnkfloor delete FOLDER         DeleteFileA on every file and RemoveDirectoryA on every
//                                  folder, FOLDER included (the tree deletions)
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "stopwatch.h"

namespace {

constexpr DWORD kBlock = 1 << 20;

struct Handle {
  HANDLE h;
  explicit Handle(HANDLE handle) : h(handle) {}
  ~Handle() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
};

HANDLE OpenToRead(const char* name) {
  return CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

// Bytes read from every file, or -1 when one cannot be read. With `to`, each block read
// is written there at once.
int64_t Pass(char** files, int count, HANDLE to, char* block) {
  int64_t total = 0;
  for (int i = 0; i < count; ++i) {
    Handle from(OpenToRead(files[i]));
    if (from.h == INVALID_HANDLE_VALUE) return -1;
    DWORD got = 0, put = 0;
    for (;;) {
      if (!ReadFile(from.h, block, kBlock, &got, nullptr)) return -1;
      if (got == 0) break;
      if (to != INVALID_HANDLE_VALUE && (!WriteFile(to, block, got, &put, nullptr) || put != got)) return -1;
      total += got;
    }
  }
  return total;
}

// Calls visit(path, data) for every entry below folder, a folder's own entries first and
// then, depth first, its folders; one listing per folder. Files or folders found.
template <class Visit>
int64_t Walk(const std::string& folder, Visit& visit) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return 0;
  int64_t found = 0;
  std::string subs;  // the folders' names, each followed by a NUL
  do {
    const char* name = data.cFileName;
    if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
    ++found;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) subs.append(name).push_back('\0');
    else visit(folder + '\\' + name, false);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  for (size_t at = 0; at < subs.size(); at = subs.find('\0', at) + 1) {
    std::string sub = folder + '\\' + (subs.c_str() + at);
    found += Walk(sub, visit);
    visit(sub, true);
  }
  return found;
}

int Usage() {
  std::fprintf(stderr, "usage: vnkfloor read FILE... | copy FILE... TARGET | walk FOLDER | delete FOLDER\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const char* mode = argv[1];
  char* block = static_cast<char*>(VirtualAlloc(nullptr, kBlock, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (!block) return 2;
  std::memset(block, 0, kBlock);  // its pages are in place before the clock starts

  Stopwatch clock;
  int64_t result;
  if (std::strcmp(mode, "read") == 0) {
    result = Pass(argv + 2, argc - 2, INVALID_HANDLE_VALUE, block);
  } else if (std::strcmp(mode, "copy") == 0) {
    if (argc < 4) return Usage();
    Handle to(CreateFileA(argv[argc - 1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    result = to.h == INVALID_HANDLE_VALUE ? -1 : Pass(argv + 2, argc - 3, to.h, block);
  } else if (std::strcmp(mode, "walk") == 0) {
    auto nothing = [](const std::string&, bool) {};
    result = Walk(argv[2], nothing);
  } else if (std::strcmp(mode, "delete") == 0) {
    bool failed = false;
    auto remove = [&](const std::string& path, bool folder) {
      if (!(folder ? RemoveDirectoryA(path.c_str()) : DeleteFileA(path.c_str()))) failed = true;
    };
    result = Walk(argv[2], remove);
    if (!RemoveDirectoryA(argv[2])) failed = true;
    if (failed) result = -1;
  } else {
    return Usage();
  }

  clock.Stop();
  std::printf("seconds=%.6f result=%lld", clock.Seconds(), static_cast<long long>(result));
  clock.PrintMemory();
  return result < 0 ? 1 : 0;
}
