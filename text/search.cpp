// cFileSearch, cFileSearchCount and cFileSearchAndReplace: literal search in the lines
// of a text file, and replacement that rewrites the file in place through a work file.
//
// Files are read as the runtime's text-mode streams deliver them, so a line end is one
// "\n" here and CR LF on disk, and a 0x1A byte ends the input; the work file gets CR LF
// for every "\n", as a text-mode stream would write it. Lines are taken in pieces of a fixed
// maximum length and a match never spans two pieces; callers see that in results, so
// the piece lengths are part of the behaviour.
#include <algorithm>

#include "dirs/kill.h"
#include "frame/bytes_kernel.h"
#include "frame/cpu_kernel.h"
#include "frame/host.h"
#include "frame/output.h"
#include "text/rewrite.h"
#include "text/search_kernel.h"
#include "text/textmode_kernel.h"

namespace vnk {
namespace {


// Cuts the text of a binary stream into line pieces, reading ahead in large blocks and
// making of them what the runtime's text-mode read would deliver (CR LF as "\n", the
// end at a 0x1A byte): the pieces are exactly those a line-by-line text-mode read of at
// most `limit` characters yields, at a fraction of the runtime's cost per byte.
class PieceReader {
 public:
  PieceReader(FILE* in, size_t limit) : in_(in), limit_(limit) {}

  // The next piece (valid until the next call), or false at the end of the input or
  // after a failed read (then error() is true).
  bool Next(const char** piece, size_t* n) {
    if (end_ - begin_ < limit_ && !at_end_) Fill();
    if (begin_ == end_) return false;
    *piece = buffer_ + begin_;
    *n = PieceLength(*piece, end_ - begin_, limit_);
    begin_ += *n;
    return true;
  }
  bool error() const { return error_; }

 private:
  // Moves the text not yet handed out to the front and reads until the buffer holds a
  // whole piece or the input ends.
  void Fill() {
    std::memmove(buffer_, buffer_ + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    while (end_ - begin_ < limit_ && !at_end_) {
      // A CR held back from the last read goes in front of the new bytes.
      size_t raw = 0;
      if (held_cr_) buffer_[end_ + raw++] = '\r';
      size_t want = sizeof buffer_ - end_ - raw;
      size_t got = fread(buffer_ + end_ + raw, 1, want, in_);
      raw += got;
      // Only the end-of-file mark, an error or a read that brings nothing ends the
      // input; a short read alone does not (a pipe, for one, may deliver less).
      if (feof(in_) || ferror(in_) || got == 0) {
        at_end_ = true;
        error_ = ferror(in_) != 0;
      }
      TextModeStep step = TextModeInPlace(buffer_ + end_, raw, at_end_);
      end_ += step.length;
      held_cr_ = !step.stop && step.used < raw;
      if (step.stop) at_end_ = true;
    }
  }

  FILE* in_;
  size_t limit_;
  size_t begin_ = 0;
  size_t end_ = 0;
  bool at_end_ = false;
  bool held_cr_ = false;
  bool error_ = false;
  char buffer_[32768];
};

// The file is read in blocks this large, straight into the buffer the search scans.
constexpr size_t kSearchBlock = 1 << 20;

size_t ReadStream(void* stream, char* to, size_t want, bool* end) {
  FILE* in = static_cast<FILE*>(stream);
  size_t got = fread(to, 1, want, in);
  // Only the end-of-file mark, an error or a read that brings nothing ends the input; a
  // short read alone does not (a pipe, for one, may deliver less).
  if (feof(in) || ferror(in) || got == 0) *end = true;
  return got;
}

// cFileSearch (stop at the first piece holding a match) and cFileSearchCount.
int32_t SearchFile(const char* file, const char* text, bool fold, bool first_only) {
  if (*file == '\0' || *text == '\0') return 0;
  size_t m = BoundedLength(text, SEARCH_TEXT_MAX);
  if (m > SEARCH_TEXT_MAX) return RC_TEXT_TOO_LONG;
  if (BoundedLength(file, MAX_PATH_CHARS) > MAX_PATH_CHARS) return RC_CANT_OPEN_FIRST;
  UniqueFile in(fopen(file, "rb"));
  if (!in) return RC_CANT_OPEN_FIRST;

  char needle[SEARCH_TEXT_MAX + 1];
  std::memcpy(needle, text, m);
  if (fold) FoldInPlace(needle, m);

  // Where the large block cannot be had, a small one in the frame gives the same answer.
  TaskBuffer block = TaskAlloc(kSearchBlock);
  char small[32768];
  LineSearch search(needle, m, fold, SEARCH_PIECE, first_only, HasSse2());
  if (block)
    SearchBlocks(search, block.get(), kSearchBlock, ReadStream, in.get());
  else
    SearchBlocks(search, small, sizeof small, ReadStream, in.get());
  // A read that fails after the match was found does not matter to the answer.
  if (first_only && search.count() > 0) return -1;
  if (ferror(in.get())) return RC_READ_FAILED;
  return first_only ? 0 : ClampTotal(search.count());
}

// The work file is a binary stream and its line ends are made here: each "\n" goes out
// as CR LF, as the runtime's text mode would write it. The bytes on disk are the same;
// the runtime's text-mode write, which takes every byte on its own, is many times slower.
// What the replacement hands over per line piece is gathered into large writes: only the
// complete work file is ever copied back, so when a write fails makes no difference to
// the caller (the result is a failed write, File stays as it was).
class WorkFileWriter {
 public:
  explicit WorkFileWriter(FILE* out) : out_(out) {}
  static bool Sink(void* self, const char* bytes, size_t n) { return static_cast<WorkFileWriter*>(self)->Put(bytes, n); }
  bool Put(const char* bytes, size_t n) {
    for (const char* end = bytes + n; bytes != end && !failed_;) {
      if (used_ + 3 > sizeof buffer_ && !Flush()) break;
      // As much text as fits before the next "\n", then its CR LF.
      size_t room = sizeof buffer_ - used_ - 2;
      size_t span = std::min(static_cast<size_t>(end - bytes), room);
      const char* lf = FindByte(bytes, span, '\n');
      size_t run = static_cast<size_t>((lf != nullptr ? lf : bytes + span) - bytes);
      std::memcpy(buffer_ + used_, bytes, run);
      used_ += run;
      bytes += run;
      if (lf != nullptr) {
        buffer_[used_++] = '\r';
        buffer_[used_++] = '\n';
        ++bytes;
      }
    }
    return !failed_;
  }
  bool Flush() {
    if (!failed_ && used_ != 0 && (fwrite(buffer_, 1, used_, out_) != used_ || ferror(out_))) failed_ = true;
    written_ += used_;
    used_ = 0;
    return !failed_;
  }
  // The bytes handed to the stream: once it closes without a failure, the work file's size.
  uint64_t written() const { return written_; }

 private:
  FILE* out_;
  size_t used_ = 0;
  bool failed_ = false;
  uint64_t written_ = 0;
  char buffer_[32768];
};

int32_t ReplaceInFile(const char* file, const char* text, const char* replacement, const char* work_name,
                      bool fold) {
  if (*file == '\0' || *text == '\0') return 0;
  size_t m = BoundedLength(text, REPLACE_SEARCH_TEXT_MAX);
  size_t r = BoundedLength(replacement, REPLACE_TEXT_MAX);
  if (m > REPLACE_SEARCH_TEXT_MAX || r > REPLACE_TEXT_MAX) return RC_TEXT_TOO_LONG;
  const char* work = WorkFileName(work_name);
  // Both names must suit the copy back, or the whole pass would be wasted.
  if (BoundedLength(file, kCopyBackNameChars) > kCopyBackNameChars) return RC_CANT_OPEN_FIRST;
  if (BoundedLength(work, kCopyBackNameChars) > kCopyBackNameChars) return RC_CANT_OPEN_SECOND;

  UniqueFile in(fopen(file, "rb"));
  if (!in) return RC_CANT_OPEN_FIRST;
  UniqueFile out = OpenWorkFile(file, work, "wb");
  if (!out) return RC_CANT_OPEN_SECOND;

  char needle[REPLACE_SEARCH_TEXT_MAX + 1];
  std::memcpy(needle, text, m);
  if (fold) FoldInPlace(needle, m);

  PieceReader reader(in.get(), REPLACE_PIECE);
  WorkFileWriter writer(out.get());
  ReplaceOutput output(WorkFileWriter::Sink, &writer);
  char folded[REPLACE_PIECE];
  int32_t result = 0;
  const char* piece;
  size_t n;
  while (reader.Next(&piece, &n)) {
    const char* match = piece;
    if (fold) {
      std::memcpy(folded, piece, n);
      FoldInPlace(folded, n);
      match = folded;
    }
    if (!ReplacePiece(piece, match, n, needle, m, replacement, r, output)) {
      result = RC_WRITE_FAILED;
      break;
    }
  }
  if (result == 0 && reader.error()) result = RC_READ_FAILED;
  if (!writer.Flush() && result == 0) result = RC_WRITE_FAILED;

  in.reset();
  // Closing writes the stream's last buffered bytes: a failure there is a failed write.
  if (fclose(out.release()) != 0 && result == 0) result = RC_WRITE_FAILED;
  if (result == 0) {
    int32_t copied = CopyBack(work, file, writer.written());
    if (copied < 0) return copied;
  } else {
    KillFile(work);
  }
  return result < 0 ? result : ClampTotal(output.total());
}

}  // namespace
}  // namespace vnk

using namespace vnk;

extern "C" int32_t __stdcall cFileSearch(StrArg file, StrArg text, int16_t case_sensitive) {
  return SearchFile(file, text, case_sensitive == 0, true);
}

extern "C" int32_t __stdcall cFileSearchCount(StrArg file, StrArg text, int16_t case_sensitive) {
  return SearchFile(file, text, case_sensitive == 0, false);
}

extern "C" int32_t __stdcall cFileSearchAndReplace(StrArg file, StrArg text, StrArg replacement,
                                                   StrArg work_file, int16_t case_sensitive) {
  return ReplaceInFile(file, text, replacement, work_file, case_sensitive == 0);
}
