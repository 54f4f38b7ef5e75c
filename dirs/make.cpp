// Folder creation and existence: cMakeDir, cMakeMultipleDir, cFilePathExists.
#include <cerrno>
#include <string>

#include "frame/host.h"
#include "paths/call_rules.h"
#include "paths/path_kernel.h"
#include "paths/rules_kernel.h"
#include "paths/validate_kernel.h"
#include "system/fs.h"
#include "system/text.h"

using namespace vnk;

namespace {

// Refusal of an argument before any system call: "file not found".
constexpr int16_t REFUSED = 2;

// The text so far is empty or a drive alone ("C:"), which is no level to create.
bool NoLevel(std::string_view text) { return text.empty() || IsBareDrive(text); }

int16_t MakeMultipleDir(const char* folder) {
  if (ValidateFileName(folder, CallUnits()) != NAME_VALID) return REFUSED;
  // One byte more than the other exports take (260 for an ANSI call): the levels were
  // always gathered in a buffer of MAX_PATH characters and its terminator.
  if (!FitsChars(folder, CallPathLimit() + 1)) return REFUSED;
  std::string_view path(folder);
  // Every level is tried from the top down; levels that exist already fail quietly.
  // The bare drive ("C:") is not tried: it names the drive's current folder, and when
  // that folder has been removed meanwhile, creating "C:" would bring it back. The
  // second byte of a double-byte character is never taken for a backslash.
  const LeadBytes& lead = CallLeadBytes();
  for (size_t i = 0; i < path.size(); i += CharLength(path, i, lead)) {
    std::string_view level = path.substr(0, i);
    if (path[i] == '\\' && !NoLevel(level)) sys::MakeFolder(std::string(level).c_str());
  }
  sys::MakeFolder(folder);
  // Success means the folder exists now, whoever made it.
  if (sys::Attributes(folder) != INVALID_FILE_ATTRIBUTES) return VB_TRUE;
  return LastErrno();
}

}  // namespace

extern "C" int16_t __stdcall cMakeDir(StrArg folder) {
  return Shield<int16_t>(ENOMEM, [&] { return sys::MakeFolder(folder) ? VB_TRUE : LastErrno(); });
}

extern "C" int16_t __stdcall cMakeMultipleDir(StrArg folder) {
  return Shield<int16_t>(ENOMEM, [&] { return MakeMultipleDir(folder); });
}

extern "C" int16_t __stdcall cFilePathExists(StrArg path) {
  return Shield<int16_t>(ENOMEM,
                         [&] { return sys::Attributes(path) != INVALID_FILE_ATTRIBUTES ? VB_TRUE : LastErrno(); });
}
