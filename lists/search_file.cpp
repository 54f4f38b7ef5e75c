// cSearchFile: a depth-first search of a directory tree for the files matching a
// pattern, walked by making each directory current in turn.
#include <cstring>
#include <string>
#include <utility>

#include "frame/host.h"
#include "frame/output.h"
#include "paths/call_rules.h"
#include "paths/path_kernel.h"
#include "paths/rules_kernel.h"
#include "scan/walk.h"
#include "system/fs.h"
#include "system/text.h"

namespace vnk {
namespace {

// The current directory; false when it cannot be had or passes the call's longest path.
bool CurrentDirectory(std::string* out) { return sys::CurrentFolder(out) && out->size() <= CallPathLimit(); }

// Makes the caller's own directory current again when the search ends, however it ends.
class CallerDirectory {
 public:
  CallerDirectory() { have_ = CurrentDirectory(&path_); }
  ~CallerDirectory() {
    if (have_) Shield<bool>(false, [&] { return sys::SetCurrentFolder(path_.c_str()) != FALSE; });
  }
  CallerDirectory(const CallerDirectory&) = delete;
  CallerDirectory& operator=(const CallerDirectory&) = delete;

 private:
  std::string path_;
  bool have_ = false;
};

// Writes one result line. Each line is pushed to the file at once, so that the count
// covers exactly the lines that reached the file, a full disk included.
bool WriteLine(FILE* out, const char* line, size_t n) {
  size_t written = fwrite(line, 1, n, out);
  if (written != n || ferror(out)) return false;
  return fflush(out) == 0 && !ferror(out);
}

// One search: its pattern, its result stream (or none) and its count, for one call.
// Each level is entered by making it the current directory; its sub-directories come
// from the tree walk's listing of the current directory, each searched completely
// before the next.
class Search final : public FolderVisitor {
 public:
  Search(const char* pattern, FILE* out) : pattern_(pattern), out_(out) {}
  int32_t matches() const { return matches_; }

  // Searches one directory, named relative to the current directory. Returns false
  // when the directory current before the call could not be made current again: the
  // levels above must then stop, since their further names would resolve elsewhere.
  bool Level(const char* dir) {
    std::string saved;
    if (!CurrentDirectory(&saved)) return true;
    if (strcmp(dir, ".") == 0 || strcmp(dir, "..") == 0) return true;
    if (!sys::SetCurrentFolder(dir)) return true;
    ListMatches();
    bool restored = true;
    std::swap(restored, restored_);
    WalkDepthFirst("", *this);
    std::swap(restored, restored_);
    return sys::SetCurrentFolder(saved.c_str()) && restored;
  }

  // Every sub-directory, whatever its name, is searched at once; the walk itself goes
  // no deeper (each level lists its own current directory).
  bool Visit(const DirEntry& entry) override {
    if (restored_ && (entry.attrib & ATTR_DIRECTORY) && !Level(entry.name)) restored_ = false;
    return false;
  }

 private:
  // The current directory's own matches, each written as its full path.
  void ListMatches() {
    std::string here;
    if (out_ != nullptr && !CurrentDirectory(&here)) here.clear();
    // A root ("C:\") ends with its separator; other folders get one before each name.
    if (!EndsWithSeparator(here, CallLeadBytes())) here.push_back('\\');
    std::string line;
    DirEntry entry;
    ScopedScan scan(pattern_, &entry, ScanFields::kNoTimes);
    for (bool have = scan.ok(); have; have = scan.Next(&entry)) {
      if (entry.attrib & ATTR_DIRECTORY) continue;
      size_t name_len = strlen(entry.name);
      if (name_len == 0 || entry.name[name_len - 1] == '.') continue;
      if (out_ != nullptr) {
        line.assign(here);
        line.append(entry.name, name_len);
        line.append("\r\n");
        // A failed write ends this directory's listing; the walk goes on below it, where
        // every further write meets the same failure and counts nothing.
        if (!WriteLine(out_, line.data(), line.size())) break;
      }
      ++matches_;
    }
  }

  const char* pattern_;
  FILE* out_;
  int32_t matches_ = 0;
  bool restored_ = true;  // false once a level below could not be left the way it came
};

int32_t SearchFile(const char* start, const char* pattern, const char* result_file) {
  if (*start == '\0' || *pattern == '\0') return -1;
  if (!FitsCallPath(start) || !FitsCallPath(pattern) || !FitsCallPath(result_file)) return -1;
  UniqueFile out;
  if (*result_file != '\0') {
    // Opened before the walk, relative to the caller's current directory. A read-only
    // result file is never truncated.
    out.reset(OpenOutput(result_file, "w+b"));
    if (!out) return -1;
  }
  Search search(pattern, out.get());
  // The walk restores each level as it leaves it; the caller's own directory is made
  // current once more at the end, so that a level that could not be re-entered does not
  // leave the caller somewhere else.
  CallerDirectory caller;
  search.Level(start);
  return search.matches();
}

}  // namespace
}  // namespace vnk

using namespace vnk;

extern "C" int32_t __stdcall cSearchFile(StrArg start, StrArg pattern, StrArg result_file) {
  return Shield<int32_t>(-1, [&] { return SearchFile(start, pattern, result_file); });
}
