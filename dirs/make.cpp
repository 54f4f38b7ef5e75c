// Folder creation and existence: cMakeDir, cMakeMultipleDir, cFilePathExists.
#include "frame/host.h"
#include "paths/rules_kernel.h"
#include "paths/validate_kernel.h"

using namespace vnk;

namespace {

// Refusal of an argument before any system call: "file not found".
constexpr int16_t REFUSED = 2;

// The text so far is empty or a drive alone ("C:"), which is no level to create.
bool NoLevel(const char* text, size_t length) { return length == 0 || IsBareDrive(std::string_view(text, length)); }

}  // namespace

extern "C" int16_t __stdcall cMakeDir(StrArg folder) {
  if (CreateDirectoryA(folder, nullptr)) return VB_TRUE;
  return LastErrno();
}

extern "C" int16_t __stdcall cMakeMultipleDir(StrArg folder) {
  if (ValidateFileName(folder) != NAME_VALID) return REFUSED;
  char path[MAX_PATH + 1] = {};
  if (!FitsChars(folder, MAX_PATH)) return REFUSED;
  size_t length = strlen(folder);
  // Every level is tried from the top down; levels that exist already fail quietly.
  // The bare drive ("C:") is not tried: it names the drive's current folder, and when
  // that folder has been removed meanwhile, creating "C:" would bring it back. The
  // second byte of a double-byte character is never taken for a backslash.
  for (size_t i = 0; i < length; ++i) {
    if (folder[i] == '\\' && !NoLevel(path, i)) CreateDirectoryA(path, nullptr);
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
