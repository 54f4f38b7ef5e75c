// cFileSearch, cFileSearchCount and cFileSearchAndReplace: literal search in the lines
// of a text file, and replacement that rewrites the file in place through a work file.
//
// Files are read as the runtime's text-mode streams deliver them, so a line end is one
// "\n" here and CR LF on disk, and a 0x1A byte ends the input; the work file gets CR LF
// for every "\n", as a text-mode stream would write it. Lines are taken in pieces of a fixed
// maximum length and a match never spans two pieces; callers see that in results, so
// the piece lengths are part of the behaviour. The text is read in large blocks through
// the shared block reader, raw where the search text holds no CR or LF (it then matches
// the raw bytes exactly where it matches their text), else through the text-mode view.
// What follows the first 0x1A is no text, but it is the file's: the in-place replace
// puts it back after the rewritten text, byte for byte.
#include "dirs/kill.h"
#include "files/block_io.h"
#include "frame/cpu_kernel.h"
#include "frame/host.h"
#include "frame/output.h"
#include "files/copy.h"
#include "system/text.h"
#include "text/rewrite.h"
#include "text/search_kernel.h"

namespace vnk {
namespace {

// Where no block can be had from the heap, one this size in the frame gives the same
// answer.
constexpr size_t kSmallBlock = 32768;

// Scans the file open in `in` with `scanner` through `buffer`: raw blocks, or the
// text-mode view where the scan wants it. False after a failed read, and when `out` (the
// output of a pass that writes) has failed: nothing more is read then.
template <class Scanner>
bool ScanFile(Scanner& scanner, BlockReader& in, char* buffer, size_t size, const BlockWriter* out = nullptr) {
  TextReader text(in);
  const bool text_view = scanner.wants_text_view();
  return ScanBlocks(scanner, buffer, size, [&](char* to, size_t want, size_t* got) {
    if (out != nullptr && !out->status().ok()) return false;
    Outcome<size_t> n = text_view ? text.Read(to, want) : in.Read(to, want);
    *got = n.ok() ? *n : 0;
    return n.ok();
  });
}

// cFileSearch (stop at the first piece holding a match) and cFileSearchCount.
int32_t SearchFile(const char* file, const char* text, bool fold, bool first_only) {
  if (*file == '\0' || *text == '\0') return 0;
  size_t m = BoundedLength(text, SEARCH_TEXT_MAX);
  if (m > SEARCH_TEXT_MAX) return RC_TEXT_TOO_LONG;
  if (!FitsCallPath(file)) return RC_CANT_OPEN_FIRST;
  BlockReader in;
  if (!in.Open(file)) return RC_CANT_OPEN_FIRST;

  char needle[SEARCH_TEXT_MAX + 1];
  std::memcpy(needle, text, m);
  if (fold) FoldInPlace(needle, m);

  WorkBlock<kSmallBlock> block;
  LineSearch search(needle, m, fold, SEARCH_PIECE, first_only, HasSse2());
  bool read = ScanFile(search, in, block.get(), block.size());
  // A read that fails after the match was found does not matter to the answer.
  if (first_only && search.count() > 0) return VB_TRUE;
  if (!read) return RC_READ_FAILED;
  return first_only ? 0 : ClampTotal(search.count());
}

// Copies the file's bytes from `at` to its end to `out`, through buffer: false after a
// failed read (a failed write shows in out).
bool CopyFrom(BlockReader& in, uint64_t at, BlockWriter& out, char* buffer, size_t size) {
  if (!in.Seek(at)) return false;
  for (;;) {
    Outcome<size_t> n = in.Read(buffer, size);
    if (!n) return false;
    if (*n == 0 || !out.Write(buffer, *n).ok()) return true;
  }
}

void WriteOut(void* writer, const char* bytes, size_t n) {
  // A failure stays in the writer, which the pass asks after each block.
  if (n != 0) (void)static_cast<BlockWriter*>(writer)->Write(bytes, n);
}

Outcome<uint64_t> ReplaceInFile(const char* file, const char* text, const char* replacement, const char* work_name,
                                bool fold) {
  if (*file == '\0' || *text == '\0') return uint64_t{0};
  size_t m = BoundedLength(text, REPLACE_SEARCH_TEXT_MAX);
  size_t r = BoundedLength(replacement, REPLACE_TEXT_MAX);
  if (m > REPLACE_SEARCH_TEXT_MAX || r > REPLACE_TEXT_MAX) return Failure{RC_TEXT_TOO_LONG};
  const char* work = WorkFileName(work_name);
  // Both names must suit the copy back, or the whole pass would be wasted.
  if (!FitsCallNameBuffer(file)) return Failure{RC_CANT_OPEN_FIRST};
  if (!FitsCallNameBuffer(work)) return Failure{RC_CANT_OPEN_SECOND};

  // Without the large blocks the pass reads through a small one in the frame and writes
  // straight to the file: slower, the same bytes.
  WorkBlock<kSmallBlock> block;
  WorkBuffer gather = TakeWorkBuffer(kSmallBlock);
  BlockReader in;
  if (!in.Open(file)) return Failure{RC_CANT_OPEN_FIRST};
  BlockWriter out(gather.get(), gather.size);
  if (!OpenWorkFile(file, work, OutputMode::kWriteOnly, out)) return Failure{RC_CANT_OPEN_SECOND};

  char needle[REPLACE_SEARCH_TEXT_MAX + 1];
  std::memcpy(needle, text, m);
  if (fold) FoldInPlace(needle, m);

  LineReplace pass(needle, m, fold, replacement, r, REPLACE_PIECE, HasSse2(), WriteOut, &out);
  // The pass ends at the first failed write, which is what it reports then.
  char* buffer = block.get();
  const size_t size = block.size();
  in.WatchEndOfText();
  bool read = ScanFile(pass, in, buffer, size, &out);
  // The text ended at the first 0x1A; the bytes from there on follow it unchanged.
  uint64_t tail = 0;
  if (read && out.status().ok() && in.end_of_text() >= 0) {
    const uint64_t before = out.written();
    read = CopyFrom(in, static_cast<uint64_t>(in.end_of_text()), out, buffer, size);
    tail = out.written() - before;
  }
  in.Close();
  Status written = out.status();
  Outcome<uint64_t> result = !written.ok() ? Outcome<uint64_t>(written.failure())
                             : read        ? Outcome<uint64_t>(pass.total() + tail)
                                           : Outcome<uint64_t>(Failure{RC_READ_FAILED});
  result = out.Finish(result, OnFailure::kKeep);
  if (!result) {
    KillFile(work);
    return result;
  }
  int32_t copied = CopyBack(work, file, out.written());
  return copied < 0 ? Outcome<uint64_t>(Failure{copied}) : result;
}

}  // namespace
}  // namespace vnk

using namespace vnk;

extern "C" int32_t __stdcall cFileSearch(StrArg file, StrArg text, int16_t case_sensitive) {
  return Shield(RC_NO_MEMORY, [&] { return SearchFile(file, text, case_sensitive == 0, true); });
}

extern "C" int32_t __stdcall cFileSearchCount(StrArg file, StrArg text, int16_t case_sensitive) {
  return Shield(RC_NO_MEMORY, [&] { return SearchFile(file, text, case_sensitive == 0, false); });
}

extern "C" int32_t __stdcall cFileSearchAndReplace(StrArg file, StrArg text, StrArg replacement,
                                                   StrArg work_file, int16_t case_sensitive) {
  return Shield(RC_NO_MEMORY,
                [&] { return LongResult(ReplaceInFile(file, text, replacement, work_file, case_sensitive == 0)); });
}
