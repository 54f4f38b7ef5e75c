// cFileSearch, cFileSearchCount and cFileSearchAndReplace: literal search in the lines
// of a text file, and replacement that rewrites the file in place through a work file.
//
// Files go through the runtime's text-mode streams, so a line end is one "\n" here and
// CR LF on disk, and a 0x1A byte ends the input. Lines are taken in pieces of a fixed
// maximum length and a match never spans two pieces; callers see that in results, so
// the piece lengths are part of the behaviour.
#include "dirs/kill.h"
#include "files/copy.h"
#include "files/identity.h"
#include "frame/host.h"
#include "frame/output.h"
#include "text/search_kernel.h"

namespace vnk {
namespace {

// Used when the caller names no work file: created in the current directory.
constexpr char kDefaultWorkFile[] = "~!!TMP~.TMP";

// Names longer than this could not be copied back by the plain copy.
constexpr size_t kCopyBackNameChars = 255;

// Cuts the text of a stream into line pieces. It reads ahead in large blocks; the
// pieces are exactly those a line-by-line read of at most `limit` characters yields.
class PieceReader {
 public:
  PieceReader(FILE* in, size_t limit) : in_(in), limit_(limit) {}

  // The next piece (valid until the next call), or false at the end of the input or
  // after a failed read (then error() is true).
  bool Next(const char** piece, size_t* n) {
    if (end_ - begin_ < limit_ && !at_end_) {
      std::memmove(buffer_, buffer_ + begin_, end_ - begin_);
      end_ -= begin_;
      begin_ = 0;
      size_t want = sizeof buffer_ - end_;
      size_t got = fread(buffer_ + end_, 1, want, in_);
      end_ += got;
      if (got < want) {
        at_end_ = true;
        error_ = ferror(in_) != 0;
      }
    }
    if (begin_ == end_) return false;
    *piece = buffer_ + begin_;
    *n = PieceLength(*piece, end_ - begin_, limit_);
    begin_ += *n;
    return true;
  }
  bool error() const { return error_; }

 private:
  FILE* in_;
  size_t limit_;
  size_t begin_ = 0;
  size_t end_ = 0;
  bool at_end_ = false;
  bool error_ = false;
  char buffer_[32768];
};

// cFileSearch (stop at the first piece holding a match) and cFileSearchCount.
int32_t SearchFile(const char* file, const char* text, bool fold, bool first_only) {
  if (*file == '\0' || *text == '\0') return 0;
  size_t m = BoundedLength(text, SEARCH_TEXT_MAX);
  if (m > SEARCH_TEXT_MAX) return RC_TEXT_TOO_LONG;
  if (BoundedLength(file, MAX_PATH_CHARS) > MAX_PATH_CHARS) return RC_CANT_OPEN_FIRST;
  UniqueFile in(fopen(file, "rt"));
  if (!in) return RC_CANT_OPEN_FIRST;

  char needle[SEARCH_TEXT_MAX + 1];
  std::memcpy(needle, text, m);
  if (fold) FoldInPlace(needle, m);

  PieceReader reader(in.get(), SEARCH_PIECE);
  char folded[SEARCH_PIECE];
  uint64_t count = 0;
  const char* piece;
  size_t n;
  while (reader.Next(&piece, &n)) {
    if (fold) {
      std::memcpy(folded, piece, n);
      FoldInPlace(folded, n);
      piece = folded;
    }
    count += CountMatches(piece, n, needle, m);
    // A read that fails after the match was found does not matter to the answer.
    if (first_only && count > 0) return -1;
  }
  if (reader.error()) return RC_READ_FAILED;
  return first_only ? 0 : ClampTotal(count);
}

bool WriteToStream(void* stream, const char* bytes, size_t n) {
  FILE* out = static_cast<FILE*>(stream);
  return fwrite(bytes, 1, n, out) == n && !ferror(out);
}

int32_t ReplaceInFile(const char* file, const char* text, const char* replacement, const char* work_name,
                      bool fold) {
  if (*file == '\0' || *text == '\0') return 0;
  size_t m = BoundedLength(text, REPLACE_SEARCH_TEXT_MAX);
  size_t r = BoundedLength(replacement, REPLACE_TEXT_MAX);
  if (m > REPLACE_SEARCH_TEXT_MAX || r > REPLACE_TEXT_MAX) return RC_TEXT_TOO_LONG;
  const char* work = *work_name != '\0' ? work_name : kDefaultWorkFile;
  // Both names must suit the copy back, or the whole pass would be wasted.
  if (BoundedLength(file, kCopyBackNameChars) > kCopyBackNameChars) return RC_CANT_OPEN_FIRST;
  if (BoundedLength(work, kCopyBackNameChars) > kCopyBackNameChars) return RC_CANT_OPEN_SECOND;

  UniqueFile in(fopen(file, "rt"));
  if (!in) return RC_CANT_OPEN_FIRST;
  // A work file that is File itself would be emptied by its opening before File is read.
  if (SameExistingFile(file, work)) return RC_CANT_OPEN_SECOND;
  UniqueFile out(OpenOutput(work, "wt"));
  if (!out) return RC_CANT_OPEN_SECOND;

  char needle[REPLACE_SEARCH_TEXT_MAX + 1];
  std::memcpy(needle, text, m);
  if (fold) FoldInPlace(needle, m);

  PieceReader reader(in.get(), REPLACE_PIECE);
  ReplaceOutput output(WriteToStream, out.get());
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

  in.reset();
  // Closing writes the stream's last buffered bytes: a failure there is a failed write.
  if (fclose(out.release()) != 0 && result == 0) result = RC_WRITE_FAILED;
  if (result == 0) {
    int32_t copied = PlainCopy(work, file);
    // The copy has removed what it wrote of File; the work file now holds the only
    // complete result, so it stays for the caller.
    if (copied < 0) return copied;
  }
  KillFile(work);
  return result < 0 ? result : ClampTotal(output.total());
}

}  // namespace
}  // namespace vnk

using namespace vnk;

extern "C" int32_t __stdcall cFileSearch(const char* file, const char* text, int16_t case_sensitive) {
  return SearchFile(file, text, case_sensitive == 0, true);
}

extern "C" int32_t __stdcall cFileSearchCount(const char* file, const char* text, int16_t case_sensitive) {
  return SearchFile(file, text, case_sensitive == 0, false);
}

extern "C" int32_t __stdcall cFileSearchAndReplace(const char* file, const char* text, const char* replacement,
                                                   const char* work_file, int16_t case_sensitive) {
  return ReplaceInFile(file, text, replacement, work_file, case_sensitive == 0);
}
