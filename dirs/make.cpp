// Folder creation and existence: cMakeDir, cMakeMultipleDir, cFilePathExists.
#include "frame/host.h"
#include "scan/validate_kernel.h"

using namespace vnk;

namespace {

// Refusal of an argument before any system call: "file not found".
constexpr int16_t REFUSED = 2;

// The text so far is empty or a drive alone ("C:"), which is no level to create.
bool IsBareDrive(const char* text, size_t length) { return length == 0 || (length == 2 && text[1] == ':'); }

}  // namespace

extern "C" int16_t __stdcall cMakeDir(StrArg folder) {
  if (CreateDirectoryA(folder, nullptr)) return VB_TRUE;
  return LastErrno();
}

extern "C" int16_t __stdcall cMakeMultipleDir(StrArg folder) {
  if (ValidateFileName(folder) != VB_TRUE) return REFUSED;
  char path[MAX_PATH + 1] = {};
  size_t length = BoundedLength(folder, MAX_PATH);
  if (length > MAX_PATH) return REFUSED;
  // Every level is tried from the top down; levels that exist already fail quietly.
  // The bare drive ("C:") is not tried: it names the drive's current folder, and when
  // that folder has been removed meanwhile, creating "C:" would bring it back. The
  // second byte of a double-byte character is never taken for a backslash.
  for (size_t i = 0; i < length; ++i) {
    if (folder[i] == '\\' && !IsBareDrive(path, i)) CreateDirectoryA(path, nullptr);
    path[i] = folder[i];
    if (IsDBCSLeadByte(static_cast<BYTE>(folder[i])) && i + 1 < length) {
      ++i;
      path[i] = folder[i];
    }
  }
  CreateDirectoryA(path, nullptr);
  // Success means the folder exists now, whoever made it.
  if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) return VB_TRUE;
  return LastErrno();
}

extern "C" int16_t __stdcall cFilePathExists(StrArg path) {
  if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) return VB_TRUE;
  return LastErrno();
}
