// Copy, move, rename and unique names: cFileCopy, cFileCopy2, cFileMove, cRenameFile,
// cUniqueFileName.
#include "files/copy.h"

#include "files/identity.h"
#include "frame/output.h"
#include "frame/host.h"
#include "paths/rules_kernel.h"

namespace vnk {

namespace {
// The plain copy's name buffers hold 255 characters.
constexpr size_t kCopyNameChars = NAME_BUFFER_CHARS;

// Windows refuses to write over a read-only file (access denied), and callers rely on
// that protection; a process with full rights on another host would be let through and
// destroy the file. The source is asked about first, as the platform opens it first.
bool TargetReadOnly(const char* source, const char* target) {
  return GetFileAttributesA(source) != INVALID_FILE_ATTRIBUTES && IsReadOnlyFile(target);
}
}  // namespace

int32_t PlainCopy(const char* source, const char* target) {
  TaskBuffer block = TaskAlloc(WORK_BLOCK);
  if (!block) return RC_NO_MEMORY;
  if (BoundedLength(source, kCopyNameChars) > kCopyNameChars) return RC_CANT_OPEN_FIRST;
  UniqueFile in(fopen(source, "rb"));
  if (!in) return RC_CANT_OPEN_FIRST;
  // A target name that does not fit is a failure to open the target, so a source that
  // cannot be opened is reported first.
  if (BoundedLength(target, kCopyNameChars) > kCopyNameChars) return RC_CANT_OPEN_SECOND;
  // Opening the target truncates it; if it is the source under another name, the
  // source's bytes would be gone before they were read.
  if (SameExistingFile(source, target)) return RC_CANT_OPEN_SECOND;
  UniqueFile out(OpenOutput(target, "w+b"));
  if (!out) return RC_CANT_OPEN_SECOND;

  int64_t result = 0;
  uint64_t total = 0;
  for (;;) {
    size_t n = fread(block.get(), 1, WORK_BLOCK, in.get());
    // The error test comes first: bytes delivered by a failing read are not written.
    if (ferror(in.get())) { result = RC_READ_FAILED; break; }
    if (n == 0) { result = ClampTotal(total); break; }
    size_t w = fwrite(block.get(), 1, n, out.get());
    if (ferror(out.get())) { result = RC_WRITE_FAILED; break; }
    if (w != n) { result = RC_WRITE_SHORT; break; }
    total += n;
  }

  // Source first, then target; only a closed target can be deleted. Closing flushes the
  // last buffered bytes, so a failure there is a failed write too.
  in.reset();
  if (fclose(out.release()) != 0 && result >= 0) result = RC_WRITE_FAILED;
  if (result < 0) DeleteFileA(target);
  return static_cast<int32_t>(result);
}

}  // namespace vnk

using namespace vnk;

extern "C" int32_t __stdcall cFileCopy(StrArg source, StrArg target) {
  return PlainCopy(source, target);
}

extern "C" int32_t __stdcall cFileCopy2(StrArg source, StrArg target) {
  if (TargetReadOnly(source, target)) return ERROR_ACCESS_DENIED;
  if (CopyFileA(source, target, FALSE)) return -1;
  return static_cast<int32_t>(GetLastError());
}

extern "C" int32_t __stdcall cFileMove(StrArg source, StrArg target) {
  if (TargetReadOnly(source, target)) return ERROR_ACCESS_DENIED;
  if (MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) return -1;
  return static_cast<int32_t>(GetLastError());
}

extern "C" int16_t __stdcall cRenameFile(StrArg old_name, StrArg new_name) {
  // The runtime's rename is MoveFileA: an existing new name is never replaced.
  if (MoveFileA(old_name, new_name)) return VB_TRUE;
  return LastErrno();
}

extern "C" BSTR __stdcall cUniqueFileName(BSTR* prefix) {
  if (AnyNull(prefix)) return EmptyString();
  char name[9] = "~~XXXXXX";
  std::string_view p = SlotBytes(prefix);
  // A prefix of one or two bytes replaces the tildes; any other length is ignored.
  if (p.size() == 1 || p.size() == 2) std::memcpy(name, p.data(), p.size());
  DWORD digits = GetCurrentProcessId() % 100000;
  for (int i = 7; i >= 3; --i, digits /= 10) name[i] = static_cast<char>('0' + digits % 10);
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    name[2] = letter;
    if (GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES) continue;
    // A name the system will not even tell us about is as good as taken.
    if (WinErrorToErrno(GetLastError()) == 13) continue;
    return NewString(name, 8);
  }
  return EmptyString();
}
