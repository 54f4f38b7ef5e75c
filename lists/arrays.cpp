// Host arrays saved to disk and loaded back: cArrayOnDisk (the raw data block of an
// array of fixed-size elements) and cArrayStringOnDisk (an array of strings as lines).
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <algorithm>

#include "dirs/kill.h"
#include "files/size.h"
#include "files/staged.h"
#include "frame/host.h"
#include "lists/string_array.h"
#include "paths/call_rules.h"
#include "paths/rules_kernel.h"
#include "paths/validate_kernel.h"
#include "scan/links.h"
#include "system/fs.h"
#include "system/text.h"

namespace vnk {
namespace {

// The raw data block moves in units of this size.
constexpr int32_t kUnit = 0x8000;
// At most this much of one string element is saved; a line is read back in pieces of
// one less than that.
constexpr size_t kSavedElementBytes = 4096;

// Results of cArrayOnDisk.
constexpr int32_t kNothing = LIST_NOTHING, kBadName = LIST_BAD_NAME, kCantRemove = LIST_CANT_REMOVE, kCantOpen = -4;
constexpr int32_t kFullUnitUnwritten = -11, kPartUnitUnwritten = -12, kSizeDiffers = -16;
constexpr int32_t kFullUnitUnread = -19, kPartUnitUnread = -20;

// The file name checks both functions make first: -1 empty, -2 not usable.
int32_t CheckFileName(const char* name) {
  if (name[0] == '\0') return kNothing;
  if (!FitsCallPath(name) || ValidateFileName(name, CallUnits()) != NAME_VALID) return kBadName;
  return 0;
}

// Access to an array's data block, released on every path.
class DataAccess {
 public:
  explicit DataAccess(SAFEARRAY* array) : array_(array) {
    held_ = array_ != nullptr && SUCCEEDED(SafeArrayAccessData(array_, &data_));
  }
  ~DataAccess() {
    if (held_) SafeArrayUnaccessData(array_);
  }
  DataAccess(const DataAccess&) = delete;
  DataAccess& operator=(const DataAccess&) = delete;
  bool held() const { return held_; }
  char* data() const { return static_cast<char*>(data_); }

 private:
  SAFEARRAY* array_;
  void* data_ = nullptr;
  bool held_ = false;
};

// The byte size of the data block: element size times the element count over all
// dimensions. -1 when it does not fit a signed 32-bit count.
int64_t BlockBytes(SAFEARRAY* array) {
  int64_t count = 1;
  UINT dims = SafeArrayGetDim(array);
  for (UINT d = 1; d <= dims; ++d) {
    LONG lo = 0, hi = -1;
    if (FAILED(SafeArrayGetLBound(array, d, &lo)) || FAILED(SafeArrayGetUBound(array, d, &hi))) return -1;
    int64_t extent = static_cast<int64_t>(hi) - lo + 1;
    if (extent <= 0) return 0;
    count *= extent;
    if (count > 0x7FFFFFFF) return -1;
  }
  int64_t total = count * SafeArrayGetElemsize(array);
  return total > 0x7FFFFFFF ? -1 : total;
}

class LowFile {
 public:
  explicit LowFile(int fd) : fd_(fd) {}
  ~LowFile() { Close(); }
  LowFile(const LowFile&) = delete;
  LowFile& operator=(const LowFile&) = delete;
  bool ok() const { return fd_ != -1; }
  int fd() const { return fd_; }
  void Close() {
    if (fd_ != -1) _close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

// Where a save writes: a file beside the old one, which replaces it (whatever its
// attributes) only once the save is complete. A save that fails thus leaves the old file
// exactly as it was, or no file where there was none: never a half array, which would
// load as a whole one of another size only to be refused, or worse, of the right size
// with stale bytes.
class SaveTarget {
 public:
  // 0, or kCantRemove for an old file that is a folder or a link (a save neither
  // removes nor writes through either), or kCantOpen when no file can be made there.
  int32_t Prepare(const char* name) {
    name_ = name;
    const DWORD attrib = sys::Attributes(name);
    if (attrib != INVALID_FILE_ATTRIBUTES && ((attrib & FILE_ATTRIBUTE_DIRECTORY) || !OwnsName(name)))
      return kCantRemove;
    bool too_long = false;
    if (staged_.Create(name, 0, nullptr, &too_long)) return 0;
    if (!too_long) return kCantOpen;
    // A name whose staged file would not fit a path is saved over directly.
    return KillFileAll(name) == VB_TRUE ? 0 : kCantRemove;
  }
  const char* path() const { return staged_.active() ? staged_.name() : name_; }

  // After a complete save: 0, or kCantRemove when the old file could not be replaced
  // (held open by another program); it is then as it was.
  int32_t Commit() {
    if (!staged_.active()) return 0;
    const DWORD attrib = sys::Attributes(name_);
    constexpr DWORD kProtective = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    const bool cleared = attrib != INVALID_FILE_ATTRIBUTES && (attrib & kProtective) &&
                         sys::SetAttributes(name_, attrib & ~kProtective);
    if (staged_.PutInPlace(false)) return 0;
    if (cleared) sys::SetAttributes(name_, attrib);
    return kCantRemove;
  }

  // After a failed save: what it wrote goes.
  void Abandon() {
    if (staged_.active())
      staged_.Discard();
    else
      sys::DeleteFile(name_);
  }

 private:
  const char* name_ = "";
  StagedFile staged_;
};

int32_t SaveBlock(const char* name, const char* data, int32_t total) {
  SaveTarget target;
  if (int32_t rc = target.Prepare(name); rc != 0) return rc;
  LowFile file(sys::OpenDescriptor(target.path(), _O_RDWR | _O_CREAT | _O_TRUNC | _O_BINARY, _SH_DENYNO,
                                   _S_IREAD | _S_IWRITE));
  if (!file.ok()) {
    target.Abandon();
    return kCantOpen;
  }
  auto fail = [&](int32_t code) {
    file.Close();
    target.Abandon();
    return code;
  };
  int64_t done = 0;
  for (int32_t u = 0; u < total / kUnit; ++u) {
    int n = _write(file.fd(), data + done, kUnit);
    if (n < 0) return fail(kFullUnitUnwritten);
    done += n;
  }
  if (total % kUnit != 0) {
    int n = _write(file.fd(), data + done, static_cast<unsigned>(total % kUnit));
    if (n < 0) return fail(kPartUnitUnwritten);
    done += n;
  }
  file.Close();
  if (done != total) return fail(kSizeDiffers);
  if (int32_t rc = target.Commit(); rc != 0) return rc;
  return total;
}

int32_t LoadBlock(const char* name, char* data, int32_t total) {
  // Nothing but the byte size is checked; a missing file has none (-1).
  std::optional<uint64_t> size = WholeFileSize(name);
  if (!size || *size != static_cast<uint64_t>(total)) return kSizeDiffers;
  // Opened for reading only: a load never writes, so a read-only file (or one on a
  // read-only medium) loads like any other.
  LowFile file(sys::OpenDescriptor(name, _O_RDONLY | _O_BINARY, _SH_DENYNO));
  if (!file.ok()) return kCantOpen;
  // Each read starts where the bytes so far end, so even short reads stay inside the
  // block: after k units at most k units have been read.
  int64_t done = 0;
  for (int32_t u = 0; u < total / kUnit; ++u) {
    int n = _read(file.fd(), data + done, kUnit);
    if (n < 0) return kFullUnitUnread;
    done += n;
  }
  if (total % kUnit != 0) {
    int n = _read(file.fd(), data + done, static_cast<unsigned>(total % kUnit));
    if (n < 0) return kPartUnitUnread;
    done += n;
  }
  file.Close();
  return done == total ? total : kSizeDiffers;
}

// cArrayStringOnDisk's save: elements as lines gathered in the work buffer, written out
// only when the next line would not fit.
int32_t SaveStrings(FILE* out, SAFEARRAY* array, LONG lower, LONG upper, char* buffer, int32_t* count) {
  int64_t result = 0;
  size_t fill = 0;
  auto flush = [&]() {
    size_t written = fwrite(buffer, 1, fill, out);
    if (ferror(out)) return RC_WRITE_FAILED;
    if (written != fill) return RC_WRITE_SHORT;
    result += static_cast<int64_t>(written);
    fill = 0;
    return 0;
  };
  for (LONG i = lower; i <= upper; ++i) {
    BSTR element = nullptr;
    if (FAILED(SafeArrayGetElement(array, &i, &element))) element = nullptr;
    UniqueBstr owned(element);
    size_t n = std::min<size_t>(SlotBytes(&element).size(), kSavedElementBytes);
    if (fill + n + 2 > WORK_BLOCK)
      if (int32_t rc = flush(); rc != 0) return rc;
    if (n != 0) memcpy(buffer + fill, element, n);
    buffer[fill + n] = '\r';
    buffer[fill + n + 1] = '\n';
    fill += n + 2;
    ++*count;
  }
  if (fill != 0)
    if (int32_t rc = flush(); rc != 0) return rc;
  return ClampTotal(static_cast<uint64_t>(result));
}

// One line piece as a line-by-line read of at most `limit` characters takes it (up to
// and including a line feed), with its true length: a NUL byte saved from an element is
// part of the line and comes back with it. 0 when nothing could be read.
size_t ReadLinePiece(FILE* in, char* buffer, size_t limit) {
  size_t k = 0;
  while (k < limit) {
    int c = getc(in);
    if (c == EOF) break;
    buffer[k++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  return k;
}

// How many elements a load of the file would fill were the array large enough; 0 when
// there is no file.
int32_t ElementsIn(const char* name) {
  UniqueFile in(sys::OpenStream(name, "rt"));
  if (!in) return 0;
  char piece[kSavedElementBytes];
  int32_t n = 0;
  while (n < 0x7FFFFFFF && ReadLinePiece(in.get(), piece, kSavedElementBytes - 1) != 0) ++n;
  return n;
}

// cArrayStringOnDisk's load: text mode, so CR LF and a lone LF end a line and Ctrl-Z
// ends the file.
int32_t LoadStrings(FILE* in, SAFEARRAY* array, LONG lower, LONG upper, char* buffer, int32_t* count) {
  int64_t result = 0;
  LONG next = lower;
  while (next <= upper) {
    size_t k = ReadLinePiece(in, buffer, kSavedElementBytes - 1);
    if (k == 0) {
      if (ferror(in)) result = RC_READ_FAILED;
      break;
    }
    size_t text = (k > 0 && buffer[k - 1] == '\n') ? k - 1 : k;
    PutString(array, next, std::string_view(buffer, text));
    ++next;
    ++*count;
    result += static_cast<int64_t>(k) + 1;
  }
  for (LONG i = next; i <= upper; ++i) PutString(array, i, {});
  return result < 0 ? static_cast<int32_t>(result) : ClampTotal(static_cast<uint64_t>(result));
}

int32_t ArrayStringOnDisk(const char* name, SAFEARRAY* array, bool save, int32_t* element_count) {
  LONG lower = 0, upper = -1;
  // Anything but a one-dimensional array of strings is refused before any file is
  // touched, as a missing name is.
  bool usable = StringArrayBounds(array, &lower, &upper);
  if (int32_t rc = CheckFileName(name); rc != 0) return rc;
  if (!usable) return kNothing;

  TaskBuffer buffer = TaskAlloc(WORK_BLOCK);
  if (!buffer) return RC_NO_MEMORY;

  if (!save) {
    UniqueFile file(sys::OpenStream(name, "rt"));
    if (!file) return RC_CANT_OPEN_FIRST;
    int32_t count = 0;
    int32_t result = LoadStrings(file.get(), array, lower, upper, buffer.get(), &count);
    *element_count = count;
    return result;
  }

  SaveTarget target;
  if (int32_t rc = target.Prepare(name); rc != 0) return rc == kCantRemove ? rc : RC_CANT_OPEN_FIRST;
  UniqueFile file(sys::OpenStream(target.path(), "w+b"));
  if (!file) {
    target.Abandon();
    return RC_CANT_OPEN_FIRST;
  }
  int32_t count = 0;
  int32_t result = SaveStrings(file.get(), array, lower, upper, buffer.get(), &count);
  // The last bytes reach the disk only when the stream closes. A stream can take a write
  // that the disk stored only in part without a word: the file's size has the last say.
  if (fclose(file.release()) != 0 && result >= 0) result = RC_WRITE_FAILED;
  if (result >= 0 && result < 0x7FFFFFFF) {
    std::optional<uint64_t> size = WholeFileSize(target.path());
    if (!size || *size != static_cast<uint64_t>(result)) result = RC_WRITE_SHORT;
  }
  if (result >= 0) {
    if (int32_t rc = target.Commit(); rc != 0) result = rc;
  } else {
    target.Abandon();
  }
  // After a failure the file is the old one, and the count is what it holds.
  *element_count = result >= 0 ? count : ElementsIn(name);
  return result;
}

int32_t ArrayOnDisk(const char* name, SAFEARRAY* array, bool save) {
  if (int32_t rc = CheckFileName(name); rc != 0) return rc;
  // Elements that are references (strings, variants, objects) would be stored as
  // addresses, and loading bytes over them would leave the caller's array pointing
  // anywhere: such arrays are refused before anything is touched.
  constexpr USHORT kReferences = FADF_BSTR | FADF_VARIANT | FADF_UNKNOWN | FADF_DISPATCH;
  if (array != nullptr && (array->fFeatures & kReferences)) return kNothing;
  DataAccess access(array);
  // An array that was never dimensioned, or one too large for a Long byte count, is
  // refused before any file is touched, as a missing name is.
  if (!access.held()) return kNothing;
  int64_t total = BlockBytes(array);
  if (total < 0) return kNothing;
  int32_t t = static_cast<int32_t>(total);
  return save ? SaveBlock(name, access.data(), t) : LoadBlock(name, access.data(), t);
}

}  // namespace
}  // namespace vnk

using namespace vnk;

extern "C" int32_t __stdcall cArrayOnDisk(StrArg file, SAFEARRAY** array, int16_t direction) {
  if (AnyNull(array)) return kNothing;
  return Shield<int32_t>(RC_NO_MEMORY, [&] { return ArrayOnDisk(file, *array, direction == 0); });
}

extern "C" int32_t __stdcall cArrayStringOnDisk(StrArg file, SAFEARRAY** array, int16_t direction,
                                                int32_t* element_count) {
  if (AnyNull(array, element_count)) return kNothing;
  return Shield<int32_t>(RC_NO_MEMORY, [&] { return ArrayStringOnDisk(file, *array, direction == 0, element_count); });
}
