// The shared block reader and writer.
#include "files/block_io.h"

#include <algorithm>

#include "frame/bytes_kernel.h"
#include "frame/output.h"
#include "system/fs.h"
#include "text/textmode_kernel.h"

namespace vnk {

namespace {
// The platform moves at most this much in one call (a DWORD count).
constexpr size_t kMaxCall = 0x40000000;

DWORD CallSize(size_t n) { return static_cast<DWORD>(std::min(n, kMaxCall)); }
}  // namespace

WorkBuffer TakeWorkBuffer(size_t minimum, size_t preferred) {
  WorkBuffer b;
  for (size_t size : {std::max(preferred, minimum), minimum}) {
    b.data = TaskAlloc(size);
    if (b.data) {
      b.size = size;
      break;
    }
  }
  return b;
}

// ---- Reading ----------------------------------------------------------------------

bool BlockReader::Open(const char* path) {
  // The runtime's "rb": read access, shared for reading and writing, an existing file.
  h_.reset(sys::OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN));
  if (h_.get() == INVALID_HANDLE_VALUE) h_.release();
  return h_ != nullptr;
}

Outcome<size_t> BlockReader::Read(void* dst, size_t n) {
  // As the runtime's block read does, the call goes on until n bytes are in or the file
  // ends: a device or pipe may deliver less per call than a disk file.
  auto* p = static_cast<char*>(dst);
  size_t got = 0;
  while (got < n) {
    DWORD part = 0;
    if (!ReadFile(h_.get(), p + got, CallSize(n - got), &part, nullptr)) return Failure{read_failed_};
    if (part == 0) break;
    got += part;
  }
  if (watch_ && end_of_text_ < 0) {
    if (const char* z = FindByte(p, got, '\x1A')) end_of_text_ = static_cast<int64_t>(position_) + (z - p);
  }
  position_ += got;
  return got;
}

bool BlockReader::Seek(uint64_t at) {
  LARGE_INTEGER to;
  to.QuadPart = static_cast<LONGLONG>(at);
  if (!SetFilePointerEx(h_.get(), to, nullptr, FILE_BEGIN)) return false;
  position_ = at;
  return true;
}

int64_t BlockReader::Size() const {
  LARGE_INTEGER size;
  return GetFileSizeEx(h_.get(), &size) ? size.QuadPart : -1;
}

Outcome<size_t> TextReader::Read(char* dst, size_t n) {
  for (;;) {
    if (ended_) return size_t{0};
    size_t at = 0;
    if (held_cr_) dst[at++] = '\r';
    Outcome<size_t> got = raw_.Read(dst + at, n - at);
    if (!got) return got;
    // The raw reader fills its block unless the file ends: a short block is the last.
    const bool last = *got < n - at;
    TextModeStep step = TextModeInPlace(dst, at + *got, last);
    held_cr_ = step.used < at + *got;
    ended_ = step.stop || last;
    if (step.length > 0 || ended_) return step.length;
  }
}

// ---- Writing ----------------------------------------------------------------------

Status WriteAll(HANDLE h, const void* data, size_t n, int32_t short_code) {
  auto* p = static_cast<const char*>(data);
  while (n > 0) {
    DWORD part = CallSize(n), w = 0;
    if (!WriteFile(h, p, part, &w, nullptr)) return Failure{RC_WRITE_FAILED};
    if (w != part) return Failure{short_code};
    p += w;
    n -= w;
  }
  return Ok();
}

bool BlockWriter::Open(const char* name, OutputMode mode) {
  // The runtime's "wb" / "w+b": created or emptied, shared for reading and writing.
  if (IsReadOnlyFile(name)) return false;
  const DWORD access = mode == OutputMode::kReadWrite ? GENERIC_READ | GENERIC_WRITE : GENERIC_WRITE;
  UniqueHandle h(sys::OpenFile(name, access, FILE_SHARE_READ | FILE_SHARE_WRITE, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
  if (h.get() == INVALID_HANDLE_VALUE) return false;
  Adopt(std::move(h), name);
  return true;
}

bool BlockWriter::OpenTarget(const char* name, OutputMode mode, int32_t cant_place) {
  TargetCheck check = CheckTarget(name);
  if (!check.ok) return false;
  if (check.direct) return Open(name, mode);
  UniqueHandle h;
  bool too_long = false;
  if (!staged_.Create(name, mode == OutputMode::kReadWrite ? GENERIC_READ : 0, &h, &too_long))
    return too_long && Open(name, mode);
  Adopt(std::move(h), staged_.name());
  cant_place_ = cant_place;
  return true;
}

void BlockWriter::Adopt(UniqueHandle h, const char* name) {
  h_ = std::move(h);
  name_ = name;
  used_ = 0;
  written_ = 0;
  status_ = Ok();
}

Status BlockWriter::Put(const void* data, size_t n) {
  if (!status_.ok()) return status_;
  // The runtime's streams flag a write that stores fewer bytes than asked as failed.
  status_ = WriteAll(h_.get(), data, n, RC_WRITE_FAILED);
  return status_;
}

Status BlockWriter::Flush() {
  if (used_ == 0) return status_;
  size_t n = used_;
  used_ = 0;
  return Put(buffer_, n);
}

Status BlockWriter::Write(const void* data, size_t n) {
  if (!status_.ok()) return status_;
  written_ += n;
  if (used_ + n <= capacity_) {
    std::memcpy(buffer_ + used_, data, n);
    used_ += n;
    return status_;
  }
  if (!Flush().ok()) return status_;
  // A block as large as the buffer goes straight to the file.
  if (n >= capacity_) return Put(data, n);
  std::memcpy(buffer_, data, n);
  used_ = n;
  return status_;
}

Status BlockWriter::WriteText(const char* data, size_t n) {
  // Every LF takes one byte more; the text between them goes across whole.
  for (const char* end = data + n; data != end && status_.ok();) {
    const char* lf = FindByte(data, static_cast<size_t>(end - data), '\n');
    if (lf == nullptr) return Write(data, static_cast<size_t>(end - data));
    // A failed write shows in status_, which ends the loop.
    (void)Write(data, static_cast<size_t>(lf - data));
    (void)Write("\r\n", 2);
    data = lf + 1;
  }
  return status_;
}

char* BlockWriter::Reserve(size_t n) {
  // After a failure the room is still given, and Commit drops what is placed there.
  if (used_ + n > capacity_) (void)Flush();  // a failure shows in status_
  if (!status_.ok()) used_ = 0;
  return buffer_ + used_;
}

void BlockWriter::Commit(size_t n) {
  if (!status_.ok()) return;
  used_ += n;
  written_ += n;
}

Status BlockWriter::Close() {
  if (h_ == nullptr) return status_;
  Status flushed = Flush();
  bool closed = CloseHandle(h_.release()) != 0;
  if (!flushed.ok()) return flushed;
  return closed ? Ok() : Status(Failure{RC_WRITE_FAILED});
}

Status BlockWriter::Complete(bool pass_ok, OnFailure on_failure) {
  Status closed = Close();
  const bool ok = pass_ok && closed.ok();
  if (staged_.active()) {
    if (!ok) {
      staged_.Discard();
    } else if (!staged_.PutInPlace(true)) {
      return Failure{cant_place_};
    }
    return closed;
  }
  if (!ok && on_failure == OnFailure::kDelete) sys::DeleteFile(name_);
  return closed;
}

Status CopyRest(BlockReader& in, BlockWriter& out, const WorkBuffer& block) {
  for (;;) {
    Outcome<size_t> n = in.Read(block.get(), block.size);
    if (!n) return n.failure();
    if (*n == 0) return Ok();
    if (Status w = out.Write(block.get(), *n); !w) return w;
  }
}

}  // namespace vnk
