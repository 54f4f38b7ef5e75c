// Line count and statistics: cFileLineCount counts CR bytes; cFileStatistics counts LF
// lines, words and bytes. Both only read the file, in blocks of WORK_BLOCK.
#include "text/count_kernel.h"
#include "text/stream_pass.h"

namespace vnk {

namespace {

struct FileCounts {
  uint64_t bytes = 0;
  uint64_t crs = 0;
  WordCounter words;
};

// One pass over the file; `statistics` selects the word and LF count instead of the
// CR count. `opened` tells whether the file was opened (and the counts therefore due).
Outcome<FileCounts> CountFile(const char* path, bool statistics, bool* opened) {
  WorkBuffer block = TakeWorkBuffer(WORK_BLOCK);
  if (!block) return Failure{RC_NO_MEMORY};
  if (!FitsCallPath(path)) return Failure{RC_CANT_OPEN_FIRST};
  BlockReader in;
  if (!in.Open(path)) return Failure{RC_CANT_OPEN_FIRST};
  *opened = true;
  FileCounts counts;
  for (;;) {
    Outcome<size_t> n = in.Read(block.get(), block.size);
    if (!n) return n.failure();
    if (*n == 0) return counts;
    counts.bytes += *n;
    if (statistics)
      counts.words.Feed(block.bytes(), *n);
    else
      counts.crs += CountByte(block.bytes(), *n, '\r');
  }
}

}  // namespace
}  // namespace vnk

using namespace vnk;

extern "C" int32_t __stdcall cFileLineCount(StrArg path) {
  return Shield(RC_NO_MEMORY, [&] {
    bool opened = false;
    Outcome<FileCounts> counts = CountFile(path, false, &opened);
    return counts ? ClampTotal(counts->crs) : counts.code();
  });
}

extern "C" int32_t __stdcall cFileStatistics(StrArg path, int32_t* lines, int32_t* words, int32_t* characters) {
  // Refused as a file that cannot be opened is: nothing read, nothing stored.
  if (AnyNull(lines, words, characters)) return RC_CANT_OPEN_FIRST;
  return Shield(RC_NO_MEMORY, [&] {
    bool opened = false;
    Outcome<FileCounts> counts = CountFile(path, true, &opened);
    // The counts are stored only once the file was opened: zeros after a failed read.
    if (!counts) {
      if (opened) *lines = *words = *characters = 0;
      return counts.code();
    }
    *lines = ClampTotal(counts->words.lines());
    *words = ClampTotal(counts->words.words());
    *characters = ClampTotal(counts->bytes);
    return *characters;
  });
}
