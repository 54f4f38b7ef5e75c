// The target written beside itself and renamed into place.
#include "files/staged.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "paths/call_rules.h"
#include "paths/device_kernel.h"
#include "paths/rules_kernel.h"
#include "system/fs.h"
#include "system/text.h"

namespace vnk {

TargetCheck CheckTarget(const char* target) {
  TargetCheck check;
  if (NamesDevice(target)) {
    check.direct = true;
    return check;
  }
  const DWORD attrib = sys::Attributes(target);
  if (attrib == INVALID_FILE_ATTRIBUTES) return check;  // nothing there yet (or no folder: the staging says)
  if (attrib & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) {
    check.ok = false;
    check.error = ERROR_ACCESS_DENIED;
    return check;
  }
  // Opened as a writer would open it, without emptying it: a holder that shares no
  // writing refuses this as it would refuse the write.
  UniqueHandle h(
      sys::OpenFile(target, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
  if (h.get() == INVALID_HANDLE_VALUE) {
    h.release();
    check.ok = false;
    check.error = GetLastError();
    return check;
  }
  // A pipe or a device under a name of its own takes the bytes as they come.
  check.direct = GetFileType(h.get()) != FILE_TYPE_DISK;
  return check;
}

namespace {

// Where two names are taken: a file, or a folder or a protected file (which answer
// access denied).
bool Taken(const char* name, DWORD error) {
  return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
         (error == ERROR_ACCESS_DENIED && sys::Attributes(name) != INVALID_FILE_ATTRIBUTES);
}

struct NewFile {
  DWORD access;
  UniqueHandle* h;
};

bool MakeNewFile(const char* name, void* context) {
  auto* f = static_cast<NewFile*>(context);
  HANDLE made = sys::OpenFile(name, GENERIC_WRITE | f->access, FILE_SHARE_READ | FILE_SHARE_WRITE, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL);
  if (made == INVALID_HANDLE_VALUE) return false;
  if (f->h != nullptr)
    f->h->reset(made);
  else
    CloseHandle(made);
  return true;
}

}  // namespace

bool StagedFile::Create(const char* target, DWORD access, UniqueHandle* h, bool* too_long) {
  NewFile f{access, h};
  return CreateWith(target, MakeNewFile, &f, too_long);
}

bool StagedFile::CreateWith(const char* target, Maker make, void* context, bool* too_long) {
  Discard();
  target_ = target;
  const std::string_view t(target);
  const size_t folder = DriveAndFolderLength(t, CallLeadBytes());
  constexpr size_t kNameChars = 12;  // "~vnkXXXX.tmp"
  if (folder + kNameChars > CallPathLimit()) {
    if (too_long != nullptr) *too_long = true;
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return false;
  }
  // Names are tried from a point that differs between processes and between calls, so
  // that two writers in one folder rarely meet; one that is taken (a writer at work, or
  // one a stopped program left) is passed over.
  static LONG calls = 0;
  const DWORD start = (GetCurrentProcessId() * 2654435761u) ^
                      (static_cast<DWORD>(InterlockedIncrement(&calls)) * 40503u);
  // The owner takes a name only once it is this call's: a failure while trying one
  // (memory) must not delete another writer's file.
  std::string candidate;
  for (DWORD i = 0; i < 0x10000; ++i) {
    char leaf[kNameChars + 1];
    std::snprintf(leaf, sizeof leaf, "~vnk%04lx.tmp", static_cast<unsigned long>((start + i) & 0xFFFF));
    candidate.assign(t, 0, folder);
    candidate.append(leaf);
    if (make(candidate.c_str(), context)) {
      name_.swap(candidate);
      return true;
    }
    const DWORD error = GetLastError();
    if (!Taken(candidate.c_str(), error)) {
      // The name was free, so what stands there now is what the failed make left.
      name_.swap(candidate);
      Discard();
      SetLastError(error);
      return false;
    }
  }
  SetLastError(ERROR_FILE_EXISTS);
  return false;
}

bool StagedFile::PutInPlace(bool keep_marks) {
  if (keep_marks) {
    const DWORD old = sys::Attributes(target_);
    constexpr DWORD kMarks = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (old != INVALID_FILE_ATTRIBUTES && (old & kMarks) != 0) {
      const DWORD now = sys::Attributes(name());
      if (now != INVALID_FILE_ATTRIBUTES) sys::SetAttributes(name(), now | (old & kMarks));
    }
  }
  if (sys::MoveFile(name(), target_, MOVEFILE_REPLACE_EXISTING)) {
    name_.clear();
    return true;
  }
  const DWORD error = GetLastError();
  Discard();
  SetLastError(error);
  return false;
}

void StagedFile::Discard() noexcept {
  if (!active()) return;
  // The layer needs memory for the name; without it the file stays, as it would after
  // any other failed deletion.
  try {
    if (!sys::DeleteFile(name())) {
      sys::SetAttributes(name(), FILE_ATTRIBUTE_NORMAL);
      sys::DeleteFile(name());
    }
  } catch (...) {
  }
  name_.clear();
}

}  // namespace vnk
