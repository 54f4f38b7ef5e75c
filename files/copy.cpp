// Copy, move, rename and unique names: cFileCopy, cFileCopy2, cFileMove, cRenameFile,
// cUniqueFileName.
#include "files/copy.h"

#include <cerrno>

#include "files/block_io.h"
#include "files/identity.h"
#include "files/staged.h"
#include "frame/host.h"
#include "frame/output.h"
#include "paths/call_rules.h"
#include "paths/rules_kernel.h"
#include "system/fs.h"
#include "system/text.h"

namespace vnk {

namespace {
// Windows refuses to write over a read-only file (access denied), and callers rely on
// that protection; a process with full rights on another host would be let through and
// destroy the file. The source is asked about first, as the platform opens it first.
bool TargetReadOnly(const char* source, const char* target) {
  return sys::Attributes(source) != INVALID_FILE_ATTRIBUTES && IsReadOnlyFile(target);
}

int32_t WindowsCopy(const char* source, const char* target) {
  if (sys::CopyFile(source, target, FALSE)) return VB_TRUE;
  return static_cast<int32_t>(GetLastError());
}

// Windows' own copy (attributes and dates come along) into a file beside Target, renamed
// over Target once complete: a copy that fails (a full disk) leaves no partial Target,
// and an existing Target keeps its bytes. -1 or the Windows error. A missing Source, and
// Source named twice, are left to the platform, whose answers touch nothing; so is a
// device, and a Target whose staged name would not fit a path.
int32_t CopyBeside(const char* source, const char* target) {
  if (sys::Attributes(source) == INVALID_FILE_ATTRIBUTES || SameExistingFile(source, target))
    return WindowsCopy(source, target);
  TargetCheck check = CheckTarget(target);
  if (!check.ok) return static_cast<int32_t>(check.error);
  if (check.direct) return WindowsCopy(source, target);
  StagedFile staged;
  bool too_long = false;
  // The copy makes the staged file itself: over an existing file it would not get
  // Source's attributes.
  auto copy = [](const char* name, void* from) {
    return sys::CopyFile(static_cast<const char*>(from), name, TRUE) != 0;
  };
  if (!staged.CreateWith(target, copy, const_cast<char*>(source), &too_long))
    return too_long ? WindowsCopy(source, target) : static_cast<int32_t>(GetLastError());
  if (!staged.PutInPlace(false)) return static_cast<int32_t>(GetLastError());
  return VB_TRUE;
}

// A move to another volume: the staged copy, put in place, and only then Source's
// removal. As Windows' own move across volumes, a Source that cannot be removed then
// stays, and the move still succeeds. A folder cannot be moved across volumes.
int32_t MoveAcrossVolumes(const char* source, const char* target) {
  const DWORD attrib = sys::Attributes(source);
  if (attrib != INVALID_FILE_ATTRIBUTES && (attrib & FILE_ATTRIBUTE_DIRECTORY)) return ERROR_NOT_SAME_DEVICE;
  int32_t copied = CopyBeside(source, target);
  if (copied != VB_TRUE) return copied;
  if (!sys::DeleteFile(source) && (attrib & FILE_ATTRIBUTE_READONLY)) {
    sys::SetAttributes(source, attrib & ~FILE_ATTRIBUTE_READONLY);
    if (!sys::DeleteFile(source)) sys::SetAttributes(source, attrib);
  }
  return VB_TRUE;
}

// A name of eight characters in the current folder that no file has: the prefix (or
// "~~"), a letter, the low five digits of the process id.
BSTR UniqueFileName(BSTR* prefix) {
  std::string_view p = SlotBytes(prefix);
  // A prefix of one or two characters replaces the tildes; any other length is ignored.
  // Characters are bytes for an ANSI call and UTF-16 units for a twin's, so that a
  // twin's prefix is never cut inside a character.
  size_t units = TextUnits(p, CallUnits());
  std::string name = units == 1 || units == 2 ? std::string(p) : std::string();
  name.append(2 - (units == 1 || units == 2 ? units : 0), '~');
  const size_t letter_at = name.size();
  name += "a00000";
  DWORD digits = GetCurrentProcessId() % 100000;
  for (size_t i = name.size() - 1; i > letter_at; --i, digits /= 10) name[i] = static_cast<char>('0' + digits % 10);
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    name[letter_at] = letter;
    if (sys::Attributes(name.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
    // A name the system will not even tell us about is as good as taken.
    if (WinErrorToErrno(GetLastError()) == EACCES) continue;
    return NewString(name);
  }
  return EmptyString();
}

}  // namespace

bool FitsCallNameBuffer(const char* path) {
  return CurrentEncoding() == CallEncoding::kAnsi ? FitsNameBuffer(path) : FitsCallPath(path);
}

Outcome<uint64_t> PlainCopy(const char* source, const char* target) {
  WorkBuffer block = TakeWorkBuffer(WORK_BLOCK);
  if (!block) return Failure{RC_NO_MEMORY};
  if (!FitsCallNameBuffer(source)) return Failure{RC_CANT_OPEN_FIRST};
  BlockReader in;
  if (!in.Open(source)) return Failure{RC_CANT_OPEN_FIRST};
  // A target name that does not fit is a failure to open the target, so a source that
  // cannot be opened is reported first.
  if (!FitsCallNameBuffer(target)) return Failure{RC_CANT_OPEN_SECOND};
  // Opening the target truncates it; if it is the source under another name, the
  // source's bytes would be gone before they were read.
  if (SameExistingFile(source, target)) return Failure{RC_CANT_OPEN_SECOND};
  BlockWriter out;
  if (!out.OpenTarget(target, OutputMode::kReadWrite, RC_CANT_OPEN_SECOND)) return Failure{RC_CANT_OPEN_SECOND};

  // Each block read goes to the target in one write, as it came.
  Status copied = CopyRest(in, out, block);
  in.Close();
  return out.FinishCount(copied, OnFailure::kDelete);
}

}  // namespace vnk

using namespace vnk;

// The copies and moves answer a failure for want of memory (in the names' conversion,
// say) as the platform itself would: with its error code, or the runtime's errno.
extern "C" int32_t __stdcall cFileCopy(StrArg source, StrArg target) {
  return Shield(RC_NO_MEMORY, [&] { return LongResult(PlainCopy(source, target)); });
}

extern "C" int32_t __stdcall cFileCopy2(StrArg source, StrArg target) {
  return Shield<int32_t>(ERROR_NOT_ENOUGH_MEMORY, [&] {
    if (TargetReadOnly(source, target)) return static_cast<int32_t>(ERROR_ACCESS_DENIED);
    return CopyBeside(source, target);
  });
}

extern "C" int32_t __stdcall cFileMove(StrArg source, StrArg target) {
  return Shield<int32_t>(ERROR_NOT_ENOUGH_MEMORY, [&]() -> int32_t {
    if (TargetReadOnly(source, target)) return ERROR_ACCESS_DENIED;
    // Replacing another name of the source's own file would leave both names as they
    // were (the platform finds nothing to do) and report a move that never happened.
    if (OtherEntryOfSameFile(source, target)) return ERROR_ALREADY_EXISTS;
    if (sys::MoveFile(source, target, MOVEFILE_REPLACE_EXISTING)) return VB_TRUE;
    if (GetLastError() == ERROR_NOT_SAME_DEVICE) return MoveAcrossVolumes(source, target);
    return static_cast<int32_t>(GetLastError());
  });
}

extern "C" int16_t __stdcall cRenameFile(StrArg old_name, StrArg new_name) {
  // The runtime's rename is MoveFile: an existing new name is never replaced. Where the
  // new name is another entry of the same file (a hard link, a link to it), the platform
  // may find nothing to do and call that success; it exists, so it is refused the same
  // way. The same entry in other letter case is a rename.
  return Shield<int16_t>(ENOMEM, [&]() -> int16_t {
    if (OtherEntryOfSameFile(old_name, new_name)) return EEXIST;
    if (sys::MoveFile(old_name, new_name)) return VB_TRUE;
    return LastErrno();
  });
}

extern "C" BSTR __stdcall cUniqueFileName(BSTR* prefix) {
  if (AnyNull(prefix)) return EmptyString();
  BSTR name = Shield<BSTR>(nullptr, [&] { return UniqueFileName(prefix); });
  return name != nullptr ? name : EmptyString();
}
