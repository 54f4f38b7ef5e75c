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
// CR count. Returns 0 or a negative code.
int32_t CountFile(const char* path, bool statistics, FileCounts& counts) {
  TaskBuffer block = TaskAlloc(WORK_BLOCK);
  if (!block) return RC_NO_MEMORY;
  if (!PathFits(path)) return RC_CANT_OPEN_FIRST;
  UniqueFile in(fopen(path, "rb"));
  if (!in) return RC_CANT_OPEN_FIRST;
  auto* b = reinterpret_cast<uint8_t*>(block.get());
  for (;;) {
    size_t n = fread(b, 1, WORK_BLOCK, in.get());
    if (ferror(in.get())) return RC_READ_FAILED;
    if (n == 0) return 0;
    counts.bytes += n;
    if (statistics)
      counts.words.Feed(b, n);
    else
      counts.crs += CountByte(b, n, '\r');
  }
}

}  // namespace
}  // namespace vnk

using namespace vnk;

extern "C" int32_t __stdcall cFileLineCount(StrArg path) {
  FileCounts counts;
  int32_t result = CountFile(path, false, counts);
  return result < 0 ? result : ClampTotal(counts.crs);
}

extern "C" int32_t __stdcall cFileStatistics(StrArg path, int32_t* lines, int32_t* words, int32_t* characters) {
  // Refused as a file that cannot be opened is: nothing read, nothing stored.
  if (AnyNull(lines, words, characters)) return RC_CANT_OPEN_FIRST;
  FileCounts counts;
  int32_t result = CountFile(path, true, counts);
  // The counts are stored only once the file was opened: zeros after a failed read.
  if (result == RC_READ_FAILED) {
    *lines = *words = *characters = 0;
    return result;
  }
  if (result < 0) return result;
  *lines = ClampTotal(counts.words.lines());
  *words = ClampTotal(counts.words.words());
  *characters = ClampTotal(counts.bytes);
  return *characters;
}
