// The work file of an in-place rewrite and the copy back over the rewritten file.
#include "text/rewrite.h"

#include <algorithm>

#include "dirs/kill.h"
#include "files/block_io.h"
#include "files/copy.h"
#include "files/identity.h"
#include "frame/output.h"
#include "paths/device_kernel.h"
#include "system/fs.h"

namespace vnk {
namespace {

bool IsDiskFile(HANDLE h) { return GetFileType(h) == FILE_TYPE_DISK; }

bool Seek(HANDLE h, uint64_t at) {
  LARGE_INTEGER to;
  to.QuadPart = static_cast<LONGLONG>(at);
  return SetFilePointerEx(h, to, nullptr, FILE_BEGIN) != 0;
}

bool EndAt(HANDLE h, uint64_t at) { return Seek(h, at) && SetEndOfFile(h); }

bool SizeOf(HANDLE h, uint64_t* size) {
  LARGE_INTEGER s;
  if (!GetFileSizeEx(h, &s)) return false;
  *size = static_cast<uint64_t>(s.QuadPart);
  return true;
}

// The next piece of [at, end) that fits the block.
DWORD Chunk(const WorkBuffer& block, uint64_t at, uint64_t end) {
  return static_cast<DWORD>(std::min<uint64_t>(block.size, end - at));
}

// Writes n bytes at the current position: 0, or the code of the failed or short write.
int32_t WriteBlock(HANDLE h, const char* data, DWORD n) {
  Status s = WriteAll(h, data, n, RC_WRITE_SHORT);
  return s.ok() ? 0 : s.code();
}

bool ReadAll(HANDLE h, char* data, DWORD n) {
  DWORD got = 0;
  return ReadFile(h, data, n, &got, nullptr) && got == n;
}

// Whether the file system has given the file room for all of its first `size` bytes.
// A sparse or compressed file has holes that need room only when they are written; a
// platform that cannot tell (no extended file information) is taken to have them.
bool FullyAllocated(HANDLE h, uint64_t size) {
  struct StandardInfo {
    LARGE_INTEGER allocated, end;
    DWORD links;
    BOOLEAN deleting, directory;
  };
  using Query = BOOL(WINAPI*)(HANDLE, int, void*, DWORD);
  constexpr int kStandardInfo = 1;
  static const Query query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFileInformationByHandleEx")));
  StandardInfo info;
  if (query == nullptr || !query(h, kStandardInfo, &info, sizeof info)) return false;
  return static_cast<uint64_t>(info.allocated.QuadPart) >= size;
}

// Makes sure that writing `size` bytes over the file from its start cannot run out of
// room, without changing any of its bytes: the growth is written as zeros, and the holes
// of a file that has them are filled by writing each of its blocks back as it is. On a
// failure the caller cuts the file back to its old length.
int32_t Reserve(HANDLE h, const WorkBuffer& block, uint64_t old_size, uint64_t size) {
  if (size > old_size) {
    std::memset(block.get(), 0, block.size);
    if (!Seek(h, old_size)) return RC_WRITE_FAILED;
    for (uint64_t at = old_size; at < size;) {
      DWORD n = Chunk(block, at, size);
      if (int32_t code = WriteBlock(h, block.get(), n)) return code;
      at += n;
    }
  }
  if (FullyAllocated(h, std::max(old_size, size))) return 0;
  const uint64_t kept = std::min(old_size, size);
  for (uint64_t at = 0; at < kept;) {
    DWORD n = Chunk(block, at, kept);
    if (!Seek(h, at) || !ReadAll(h, block.get(), n)) return RC_READ_FAILED;
    if (!Seek(h, at)) return RC_WRITE_FAILED;
    if (int32_t code = WriteBlock(h, block.get(), n)) return code;
    at += n;
  }
  return 0;
}

// Overwrites the file with the work file's `size` bytes, from the start, and ends it
// there.
int32_t Overwrite(HANDLE in, HANDLE out, const WorkBuffer& block, uint64_t old_size, uint64_t size, bool disk) {
  if (disk && !Seek(out, 0)) return RC_WRITE_FAILED;
  for (uint64_t at = 0; at < size;) {
    DWORD n = Chunk(block, at, size);
    if (!ReadAll(in, block.get(), n)) return RC_READ_FAILED;
    if (int32_t code = WriteBlock(out, block.get(), n)) return code;
    at += n;
  }
  if (disk && size < old_size && !EndAt(out, size)) return RC_WRITE_FAILED;
  return 0;
}

// The two files of a copy back, open.
struct CopyFiles {
  UniqueHandle work, file;
  uint64_t old_size = 0;
  bool disk = false;  // the file is a disk file, which has a length to set
};

// Everything up to the first byte written over the file: 0, or the code of a failure
// that left the file as it was.
int32_t Prepare(const char* work, const char* file, uint64_t written, const WorkBuffer& block, CopyFiles& f) {
  f.work.reset(sys::OpenFile(work, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN));
  if (f.work.get() == INVALID_HANDLE_VALUE) return RC_CANT_OPEN_FIRST;
  // Only the very bytes the pass wrote may go over the file.
  uint64_t work_size = 0;
  if (!IsDiskFile(f.work.get()) || !SizeOf(f.work.get(), &work_size) || work_size != written) return RC_READ_FAILED;
  // Windows refuses to write over a read-only file; a process with full rights elsewhere
  // is refused here the same way.
  if (IsReadOnlyFile(file)) return RC_CANT_OPEN_SECOND;
  // Shared as the runtime's streams share; the file is made again should it have gone
  // since the pass read it.
  f.file.reset(sys::OpenFile(file, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL));
  if (f.file.get() == INVALID_HANDLE_VALUE) return RC_CANT_OPEN_SECOND;
  f.disk = IsDiskFile(f.file.get());
  if (!f.disk) return 0;
  if (!SizeOf(f.file.get(), &f.old_size)) return RC_CANT_OPEN_SECOND;
  int32_t code = Reserve(f.file.get(), block, f.old_size, written);
  if (code != 0) EndAt(f.file.get(), f.old_size);
  return code;
}

// The work names refused before anything is opened.
bool WorkNameRefused(const char* file, const char* work) {
  return !FitsCallNameBuffer(work) || NamesDevice(work) || SameExistingFile(file, work);
}

}  // namespace

bool OpenWorkFile(const char* file, const char* work, OutputMode mode, BlockWriter& out) {
  if (WorkNameRefused(file, work) || !out.Open(work, mode)) return false;
  return IsDiskFile(out.handle());
}

int32_t CopyBack(const char* work, const char* file, uint64_t written) {
  WorkBuffer block = TakeWorkBuffer(WORK_BLOCK);
  if (!block) {
    KillFile(work);
    return RC_NO_MEMORY;
  }
  CopyFiles f;
  int32_t result = Prepare(work, file, written, block, f);
  bool file_whole = true;
  if (result == 0) {
    result = Overwrite(f.work.get(), f.file.get(), block, f.old_size, written, f.disk);
    file_whole = result == 0;
  }
  f.work.reset();
  f.file.reset();
  // The work file goes once the file is whole again, old or new; otherwise it holds the
  // only complete result.
  if (file_whole) KillFile(work);
  return result;
}

}  // namespace vnk
