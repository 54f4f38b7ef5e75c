// cFileSort: sorts the lines of a text file, or the fixed-length records of a binary
// file by a key, in memory, into a new file.
//
// The whole input is read into one block and the table holds one pointer per line or
// record into it, so the memory used is close to the file's size plus a pointer per
// entry, and no entry is ever copied. Line mode reads the file as the runtime's text
// mode delivers it: CR LF comes in as "\n" and a 0x1A byte ends the input, exactly as
// every other text routine of the library sees a file; every "\n" goes out as CR LF.
// The lines are not moved together to make that view: the CR of a CR LF becomes the
// line's "\n" where it stands, and the LF behind it is left over, between two lines.
#include <cstdlib>
#include <cstring>

#include "files/block_io.h"
#include "files/identity.h"
#include "frame/ascii_kernel.h"
#include "frame/bytes_kernel.h"
#include "frame/cpu_kernel.h"
#include "frame/host.h"
#include "system/text.h"
#include "text/count_kernel.h"
#include "text/sort_kernel.h"

namespace vnk {
namespace {

struct HeapFree {
  void operator()(void* p) const { std::free(p); }
};
using HeapBlock = std::unique_ptr<char, HeapFree>;
using EntryTable = std::unique_ptr<const char*, HeapFree>;

constexpr size_t kFirstTableEntries = 4096;

// The whole remaining content of the input, read into `block` (which may be replaced
// by a larger one when the file grew since its size was taken). Returns 0 or the code
// of the failure: a read error, or a block that could not be grown.
int32_t ReadAll(BlockReader& in, HeapBlock& block, size_t& capacity, size_t& length) {
  length = 0;
  for (;;) {
    if (length == capacity) {
      size_t grown = capacity + capacity / 2 + 65536;
      if (grown < capacity) return length == 0 ? SORT_CANT_STORE_FIRST : SORT_CANT_STORE_LATER;
      char* p = static_cast<char*>(std::realloc(block.get(), grown));
      if (p == nullptr) return length == 0 ? SORT_CANT_STORE_FIRST : SORT_CANT_STORE_LATER;
      block.release();
      block.reset(p);
      capacity = grown;
    }
    size_t want = capacity - length;
    Outcome<size_t> got = in.Read(block.get() + length, want);
    if (!got) return SORT_READ_FAILED;
    length += *got;
    // The reader fills what it is asked for unless the file ends.
    if (*got < want) return 0;
  }
}

// Where the line that starts at p ends: just after its "\n". Every stored line has one.
const char* PastLineEnd(const char* p, const char* end) {
  return FindByte(p, static_cast<size_t>(end - p), '\n') + 1;
}

// The lines of the text in p[0, length), which holds no 0x1A, as a text-mode read delivers
// them: a CR just before a LF is the line's end, any other CR is a byte of the line. Each
// CR of a CR LF is turned into the "\n" that ends its line; a last line without a line
// end gets one at p[length]. Stores where each line starts and returns how many there are
// (the LF bytes of the text, one more for such a last line).
size_t SplitLines(char* p, size_t length, const char** entries) {
  char* const end = p + length;
  size_t n = 0;
  char* start = p;
  for (char* lf; (lf = FindByte(start, static_cast<size_t>(end - start), '\n')) != nullptr; start = lf + 1) {
    // lf[-1] is the previous line's LF (or its "\n") for an empty line: never a CR.
    if (lf != p && lf[-1] == '\r') lf[-1] = '\n';
    entries[n++] = start;
  }
  if (start != end) {
    *end = '\n';  // the added line end never pairs with a CR before it
    entries[n++] = start;
  }
  return n;
}

// The count SplitLines will return.
size_t LineCount(const char* p, size_t length) {
  size_t n = CountByte(reinterpret_cast<const uint8_t*>(p), length, '\n');
  return length > 0 && p[length - 1] != '\n' ? n + 1 : n;
}

// One stored line of `length` bytes (its "\n" not counted) with a CR LF behind it, copied
// straight into the output's buffer; only a line longer than the buffer goes through the
// writer's own line-end conversion.
void WriteLine(BlockWriter& out, const char* line, size_t length) {
  if (length + 2 > out.capacity()) {
    (void)out.WriteText(line, length + 1);
    return;
  }
  char* room = out.Reserve(length + 2);
  std::memcpy(room, line, length);
  room[length] = '\r';
  room[length + 1] = '\n';
  out.Commit(length + 2);
}

struct SortJob {
  const char* input;
  const char* output;
  SortOrder order;
  int32_t record_length;  // 0: line mode
  RecordKey key;
};

// Opens, reads, sorts and writes; Count receives the stage marker or the entry count.
int32_t SortFile(const SortJob& job, int32_t* count) {
  const bool lines = job.record_length == 0;

  // Nothing is opened for a name longer than the library's path buffers, and the
  // output is neither created nor truncated unless the input could be opened.
  *count = SORT_STAGE_OPEN;
  if (!FitsCallPath(job.input)) return SORT_CANT_OPEN_INPUT;
  // The output's buffer; a sort that cannot have a large one writes through a small one
  // of its own.
  WorkBlock<32768> out_buffer;
  // Declared before the input, so that the input is closed first whichever way the call
  // ends.
  BlockWriter out(out_buffer.get(), out_buffer.size());
  BlockReader in;
  // Binary in both modes: line mode makes of the bytes what a text-mode read delivers.
  if (!in.Open(job.input)) return SORT_CANT_OPEN_INPUT;
  if (!FitsCallPath(job.output)) return SORT_CANT_OPEN_OUTPUT;
  // Binary in both modes: the writer makes the CR LF line ends itself.
  if (!out.OpenTarget(job.output, OutputMode::kWriteOnly, SORT_CANT_OPEN_OUTPUT)) return SORT_CANT_OPEN_OUTPUT;

  size_t capacity = SortInputCapacity(in.Size());

  EntryTable table(static_cast<const char**>(std::malloc(kFirstTableEntries * sizeof(const char*))));
  if (!table) return SORT_NO_TABLE;

  // The block is where every line or record is stored. An input too large for memory
  // is a failure to store its entries while reading (Count -2), in line mode as in
  // record mode, not a failure to start.
  *count = SORT_STAGE_READ;
  HeapBlock block(static_cast<char*>(std::malloc(capacity)));
  if (!block) return SORT_CANT_STORE_FIRST;
  size_t length = 0;
  int32_t failure = ReadAll(in, block, capacity, length);
  auto fail_reading = [&](int32_t code) {
    // No failure leaves an output: a Target that existed keeps its bytes.
    in.Close();
    (void)out.Finish(Status(Failure{code}), OnFailure::kDelete);
    return code;
  };
  if (failure != 0) return fail_reading(failure);

  size_t n = 0;
  if (lines) {
    // The text ends at the first 0x1A. The block always has room for one byte more than
    // was read, for the line end of a last line that lacks one.
    if (const char* stop = FindByte(block.get(), length, '\x1A')) length = static_cast<size_t>(stop - block.get());
    n = LineCount(block.get(), length);
  } else {
    n = length / static_cast<size_t>(job.record_length);  // a partial last record is dropped
  }
  // Past the last stored byte, that added line end included.
  const char* const end = block.get() + length + (lines && length > 0 && block.get()[length - 1] != '\n' ? 1 : 0);
  if (n > SORT_MAX_ENTRIES) return fail_reading(SORT_TOO_MANY_ENTRIES);
  if (n > kFirstTableEntries) {
    auto* grown = static_cast<const char**>(std::realloc(table.get(), n * sizeof(const char*)));
    if (grown == nullptr) return fail_reading(SORT_CANT_GROW_TABLE);
    table.release();
    table.reset(grown);
  }
  const char** entries = table.get();
  if (lines) {
    (void)SplitLines(block.get(), length, entries);
    SortLines(entries, n, job.order);
  } else {
    for (size_t i = 0; i < n; ++i) entries[i] = block.get() + i * static_cast<size_t>(job.record_length);
    SortRecords(entries, n, job.key, job.order);
  }

  // Sorted entries lie all over the block: ask for each a few entries ahead.
  const bool prefetch = HasSse2();
  constexpr size_t kAhead = 16;
  for (size_t i = 0; i < n && out.status().ok(); ++i) {
    if (prefetch && i + kAhead < n) PrefetchLine(entries[i + kAhead]);
    // A failed write shows in out.status(), which ends the loop.
    if (lines)
      WriteLine(out, entries[i], static_cast<size_t>(PastLineEnd(entries[i], end) - entries[i]) - 1);
    else
      (void)out.Write(entries[i], static_cast<size_t>(job.record_length));
  }
  *count = static_cast<int32_t>(n);
  in.Close();
  // Closing writes the last buffered bytes: a failure there is a failed write too. The
  // result is the output's size: each line's "\n" went out as CR LF.
  Status written = out.Finish(out.status(), OnFailure::kDelete);
  if (!written) return SORT_WRITE_FAILED;
  return ClampTotal(out.written());
}

}  // namespace
}  // namespace vnk

using namespace vnk;

extern "C" int32_t __stdcall cFileSort(StrArg input, StrArg output, int16_t sort_type,
                                       int32_t record_length, int32_t key_offset, int32_t key_length,
                                       int32_t* count) {
  // Refused as an empty Source is: no file touched, nothing stored.
  if (AnyNull(count)) return SORT_INPUT_EMPTY;
  if (*input == '\0') return SORT_INPUT_EMPTY;
  if (*output == '\0') return SORT_OUTPUT_EMPTY;
  if (record_length > 0) {
    int32_t bad = CheckRecordKey(record_length, key_offset, key_length);
    if (bad != 0) return bad;
  }
  SortJob job{input, output, SortOrderOf(sort_type), record_length > 0 ? record_length : 0,
              RecordKeyOf(record_length, key_offset, key_length)};
  // Only the names' conversion for the platform allocates; should it fail, the entries
  // could not be stored.
  return Shield<int32_t>(SORT_CANT_STORE_LATER, [&] {
    // The same name in two spellings, or two names of one file: opening the output would
    // truncate the input before it is read.
    if (SameNameIgnoringCase(input, output) || SameExistingFile(input, output)) return SORT_SAME_FILE;
    return SortFile(job, count);
  });
}
