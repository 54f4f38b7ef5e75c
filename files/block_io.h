// The one reader and the one writer of every pass that reads a file whole or writes a new
// one (copy, merge and filter, the text transforms, counting, the UU coder, the sort's
// input and output, the copy back of an in-place rewrite). Files are opened as the
// runtime's "rb", "wb" and "w+b" streams open them, and moved in large blocks; the
// close, flush and delete-on-failure rules live here.
#pragma once

#include <cstddef>
#include <cstdint>

#include "files/staged.h"
#include "frame/host.h"
#include "frame/result.h"

namespace vnk {

// Passes move this much at a time when memory allows: a 1 MB read or write costs the
// platform about as much as a 32 KB one.
constexpr size_t kLargeBlock = size_t{1} << 20;

// A work buffer of `preferred` bytes, or of `minimum` bytes when that cannot be had;
// empty (no memory) when neither can. A pass that took WORK_BLOCK bytes before
// therefore fails for want of memory exactly when that block could not be had.
struct WorkBuffer {
  TaskBuffer data;
  size_t size = 0;
  explicit operator bool() const { return data != nullptr; }
  char* get() const { return data.get(); }
  uint8_t* bytes() const { return reinterpret_cast<uint8_t*>(data.get()); }
};
WorkBuffer TakeWorkBuffer(size_t minimum, size_t preferred = kLargeBlock);

// A work block that never fails: a large one from TakeWorkBuffer, or, when not even its
// minimum of N bytes can be had, N bytes of the caller's own frame (slower, the same
// bytes).
template <size_t N>
class WorkBlock {
 public:
  WorkBlock() : heap_(TakeWorkBuffer(N)) {}
  char* get() { return heap_ ? heap_.get() : frame_; }
  size_t size() const { return heap_ ? heap_.size : N; }

 private:
  WorkBuffer heap_;
  char frame_[N];
};

// How an output is opened: "w+b" (read and write) or "wb" (write only). Both create the
// file or empty an existing one.
enum class OutputMode { kReadWrite, kWriteOnly };

// What becomes of an output opened with Open when the pass fails. A target opened with
// OpenTarget is never left partly written: its staged file goes whatever is asked.
enum class OnFailure { kDelete, kKeep };

// Reads a file opened as the runtime's "rb" opens it (shared for reading and writing).
class BlockReader {
 public:
  // `read_failed` is the code a failed read gives (a second input has its own).
  explicit BlockReader(int32_t read_failed = RC_READ_FAILED) : read_failed_(read_failed) {}

  // False when the file cannot be opened.
  bool Open(const char* path);
  // Up to n bytes into dst: n of them unless the file ends first, 0 at its end. A failed
  // read gives the reader's code; the bytes it delivered are dropped.
  Outcome<size_t> Read(void* dst, size_t n);
  // The file's size now (-1 when the platform cannot tell).
  int64_t Size() const;
  void Close() { h_.reset(); }

  // From now on notes where the first 0x1A byte read lies: end_of_text() gives its
  // offset in the file, -1 while none was read.
  void WatchEndOfText() { watch_ = true; }
  int64_t end_of_text() const { return end_of_text_; }
  // Reads on from offset `at`; false when the platform refuses.
  bool Seek(uint64_t at);

 private:
  UniqueHandle h_;
  int32_t read_failed_;
  uint64_t position_ = 0;
  bool watch_ = false;
  int64_t end_of_text_ = -1;
};

// The text a binary reader's bytes make in the runtime's text mode: CR LF is read as LF,
// a lone CR stays, and the text ends at the first 0x1A byte. Made over whole blocks.
class TextReader {
 public:
  explicit TextReader(BlockReader& raw) : raw_(raw) {}
  // Up to n (at least 2) bytes of text into dst: a count above 0, or 0 at the end of the
  // text. A failed read gives the raw reader's code.
  Outcome<size_t> Read(char* dst, size_t n);

 private:
  BlockReader& raw_;
  bool held_cr_ = false;  // a CR ended the last raw block; the next byte decides
  bool ended_ = false;
};

// Writes a new file in large blocks. Without a buffer every Write goes to the file as it
// stands; with one, small writes are gathered and Reserve/Commit let a transform write
// straight into it. After the first failed write nothing more is written and every call
// reports that failure.
class BlockWriter {
 public:
  // `buffer` (may be null) gathers small writes; the caller keeps it alive.
  explicit BlockWriter(char* buffer = nullptr, size_t capacity = 0)
      : buffer_(buffer), capacity_(buffer != nullptr ? capacity : 0) {}
  BlockWriter(const BlockWriter&) = delete;
  BlockWriter& operator=(const BlockWriter&) = delete;

  // Opens name as OpenOutput does (a read-only file is refused, as Windows refuses it);
  // false when it cannot be opened.
  bool Open(const char* name, OutputMode mode);
  // Opens the target of a pass, refusing what Open refuses, but writes it beside itself
  // (StagedFile): Finish renames the staged file over target only when the pass
  // succeeded and the file closed, with the old target's hidden and system attributes;
  // after a failure the staged file goes and target keeps what it held. A device, or a
  // target whose staged name would not fit a path, is written directly as Open does.
  // `cant_place` is the pass's result when the rename fails.
  bool OpenTarget(const char* name, OutputMode mode, int32_t cant_place);

  Status Write(const void* data, size_t n);
  // Writes the bytes with every LF as CR LF, as the runtime's text mode writes them.
  Status WriteText(const char* data, size_t n);
  // Room for n bytes (at most the buffer's capacity) at the end of the buffered output,
  // to be followed by Commit of the bytes actually placed there.
  char* Reserve(size_t n);
  void Commit(size_t n);

  Status status() const { return status_; }
  size_t capacity() const { return capacity_; }
  // Bytes handed over so far (all of them reached the file unless a failure says not).
  uint64_t written() const { return written_; }
  HANDLE handle() const { return h_.get(); }

  // Ends the pass whose outcome so far is `result`: writes what is buffered and closes
  // the file (inputs are closed first by the caller), then puts a staged target in
  // place. A failure there becomes the result of a pass that had succeeded; a failed
  // pass's output is deleted or kept as told (only a closed file can be deleted, and a
  // failed deletion does not change the result).
  template <class T>
  Outcome<T> Finish(Outcome<T> result, OnFailure on_failure) {
    Status done = Complete(result.ok(), on_failure);
    if (result.ok() && !done.ok()) result = done.failure();
    return result;
  }
  // Finish for a pass whose result is the count of bytes written.
  Outcome<uint64_t> FinishCount(Status pass, OnFailure on_failure) {
    return Finish(pass.ok() ? Outcome<uint64_t>(written_) : Outcome<uint64_t>(pass.failure()), on_failure);
  }

 private:
  void Adopt(UniqueHandle h, const char* name);
  Status Flush();
  Status Close();
  Status Complete(bool pass_ok, OnFailure on_failure);
  Status Put(const void* data, size_t n);

  // Declared before the handle, so that an abandoned pass's file is closed before its
  // staged name is deleted.
  StagedFile staged_;
  UniqueHandle h_;
  const char* name_ = "";
  char* buffer_ = nullptr;
  size_t capacity_ = 0, used_ = 0;
  uint64_t written_ = 0;
  Status status_ = Ok();
  int32_t cant_place_ = RC_WRITE_FAILED;
};

// Writes n bytes at h's current position: a failed write gives RC_WRITE_FAILED, one that
// the platform accepts but that stores fewer bytes gives `short_code`. The runtime's
// streams set their error indicator in both cases, so the passes that once wrote through
// them give RC_WRITE_FAILED for both; the copy back tells them apart.
Status WriteAll(HANDLE h, const void* data, size_t n, int32_t short_code);

// Copies the rest of `in` to `out` block by block through `block`: success, or the first
// failure (each block's read is tested before its write).
Status CopyRest(BlockReader& in, BlockWriter& out, const WorkBuffer& block);

}  // namespace vnk
