// The process's current folder and drive: cChDir, cChDrive.
#include <cerrno>
#include <string>

#include "frame/ascii_kernel.h"
#include "frame/host.h"
#include "paths/path_kernel.h"
#include "system/fs.h"
#include "system/text.h"

using namespace vnk;

namespace {

// Refusal of an argument before any system call: "file not found".
constexpr int16_t REFUSED = 2;

char UpperChar(char c) { return static_cast<char>(UpperAscii(static_cast<unsigned char>(c))); }

int16_t ChDir(const char* folder) {
  if (folder[0] == '\0') return REFUSED;
  if (!sys::SetCurrentFolder(folder)) return LastErrno();
  std::string now;
  if (!sys::CurrentFolder(&now)) return LastErrno();
  // The new current folder is read back whole: one byte more than a path argument may
  // have (260 for an ANSI call), as much as a MAX_PATH buffer and its terminator held.
  if (now.size() > CallPathLimit() + 1) {
    SetLastError(ERROR_BUFFER_OVERFLOW);
    return LastErrno();
  }
  // A network folder has no drive whose current folder could be recorded.
  if (now.size() >= 2 && now[0] == now[1] && IsSeparator(now[0])) return VB_TRUE;
  // The process remembers each drive's current folder in an "=C:" entry of its
  // environment; changing drives later (cChDrive) comes back to this folder.
  wchar_t record[4] = {L'=', static_cast<wchar_t>(static_cast<unsigned char>(UpperChar(now[0]))), L':', L'\0'};
  std::wstring value;
  if (!Widen(now, CallCodePage(), &value)) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return LastErrno();
  }
  if (!SetEnvironmentVariableW(record, value.c_str())) return LastErrno();
  return VB_TRUE;
}

}  // namespace

extern "C" int16_t __stdcall cChDir(StrArg folder) {
  return Shield<int16_t>(ENOMEM, [&] { return ChDir(folder); });
}

extern "C" int16_t __stdcall cChDrive(StrArg drive) {
  if (drive[0] == '\0') return REFUSED;
  // Only the first character counts: "C", "c:" and "C:\ANY" all mean drive 3.
  int number = static_cast<unsigned char>(UpperChar(drive[0])) - 64;
  if (number < 1 || number > 31) {
    errno = EACCES;
    return EACCES;
  }
  // The bare "X:" takes the process back to the folder last current on that drive.
  char name[3] = {static_cast<char>(64 + number), ':', '\0'};
  return Shield<int16_t>(ENOMEM, [&] { return sys::SetCurrentFolder(name) ? VB_TRUE : LastErrno(); });
}
