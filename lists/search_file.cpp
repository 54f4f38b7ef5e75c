// cSearchFile: a depth-first search of a directory tree for the files matching a
// pattern, walked by making each directory current in turn.
#include "frame/host.h"
#include "frame/output.h"

namespace vnk {
namespace {

// The match count of the last search; reset at the start of each call.
int32_t g_matches = 0;

// The current directory into a path buffer; false when it does not fit.
bool CurrentDirectory(char (&buffer)[PATH_BUFFER]) {
  DWORD n = GetCurrentDirectoryA(PATH_BUFFER, buffer);
  return n != 0 && n < PATH_BUFFER;
}

// Writes one result line. Each line is pushed to the file at once, so that the count
// covers exactly the lines that reached the file, a full disk included.
bool WriteLine(FILE* out, const char* line, size_t n) {
  size_t written = fwrite(line, 1, n, out);
  if (written != n || ferror(out)) return false;
  return fflush(out) == 0 && !ferror(out);
}

// Walks one directory, named relative to the current directory. Returns false when the
// directory current before the call could not be made current again: the walk of the
// levels above must then end, since their further names would resolve elsewhere.
bool Walk(const char* dir, const char* pattern, FILE* out) {
  char saved[PATH_BUFFER];
  if (!CurrentDirectory(saved)) return true;
  if (strcmp(dir, ".") == 0 || strcmp(dir, "..") == 0) return true;
  if (!SetCurrentDirectoryA(dir)) return true;

  char here[PATH_BUFFER] = "";
  size_t here_len = 0;
  if (out != nullptr && CurrentDirectory(here)) here_len = strlen(here);
  bool rooted = here_len > 0 && here[here_len - 1] == '\\';

  WIN32_FIND_DATAA fd;
  {
    // First the directory's own matches.
    UniqueFind find(FindFirstFileA(pattern, &fd));
    for (bool more = find.get() != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find.get(), &fd)) {
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      size_t name_len = strlen(fd.cFileName);
      if (name_len == 0 || fd.cFileName[name_len - 1] == '.') continue;
      if (out != nullptr) {
        char line[PATH_BUFFER + MAX_PATH + 3];
        size_t n = here_len;
        memcpy(line, here, n);
        if (!rooted) line[n++] = '\\';
        memcpy(line + n, fd.cFileName, name_len);
        n += name_len;
        line[n++] = '\r';
        line[n++] = '\n';
        // A failed write ends this directory's listing; the walk goes on below it, where
        // every further write meets the same failure and counts nothing.
        if (!WriteLine(out, line, n)) break;
      }
      ++g_matches;
    }
  }
  bool restored = true;
  {
    // Then every sub-directory, whatever its name, each completely before the next.
    UniqueFind find(FindFirstFileA("*.*", &fd));
    for (bool more = find.get() != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find.get(), &fd)) {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
      if (!Walk(fd.cFileName, pattern, out)) {
        restored = false;
        break;
      }
    }
  }
  return SetCurrentDirectoryA(saved) && restored;
}

int32_t SearchFile(const char* start, const char* pattern, const char* result_file) {
  if (*start == '\0' || *pattern == '\0') return -1;
  if (BoundedLength(start, MAX_PATH_CHARS) > MAX_PATH_CHARS || BoundedLength(pattern, MAX_PATH_CHARS) > MAX_PATH_CHARS ||
      BoundedLength(result_file, MAX_PATH_CHARS) > MAX_PATH_CHARS)
    return -1;
  UniqueFile out;
  if (*result_file != '\0') {
    // Opened before the walk, relative to the caller's current directory. A read-only
    // result file is never truncated.
    if (IsReadOnlyFile(result_file)) return -1;
    out.reset(fopen(result_file, "w+b"));
    if (!out) return -1;
  }
  g_matches = 0;
  // The walk restores each level as it leaves it; the caller's own directory is made
  // current once more at the end, so that a level that could not be re-entered does not
  // leave the caller somewhere else.
  char caller[PATH_BUFFER];
  bool have_caller = CurrentDirectory(caller);
  Walk(start, pattern, out.get());
  if (have_caller) SetCurrentDirectoryA(caller);
  return g_matches;
}

}  // namespace
}  // namespace vnk

using namespace vnk;

extern "C" int32_t __stdcall cSearchFile(StrArg start, StrArg pattern, StrArg result_file) {
  return SearchFile(start, pattern, result_file);
}
