// The process's current folder and drive: cChDir, cChDrive.
#include <cerrno>

#include "frame/ascii_kernel.h"
#include "frame/host.h"

using namespace vnk;

namespace {

// Refusal of an argument before any system call: "file not found".
constexpr int16_t REFUSED = 2;

char UpperChar(char c) { return static_cast<char>(UpperAscii(static_cast<unsigned char>(c))); }

}  // namespace

extern "C" int16_t __stdcall cChDir(StrArg folder) {
  if (folder[0] == '\0') return REFUSED;
  if (!SetCurrentDirectoryA(folder)) return LastErrno();
  char now[MAX_PATH + 1];
  DWORD n = GetCurrentDirectoryA(sizeof now, now);
  if (n == 0) return LastErrno();
  if (n >= sizeof now) {
    SetLastError(ERROR_BUFFER_OVERFLOW);
    return LastErrno();
  }
  // A network folder has no drive whose current folder could be recorded.
  if ((now[0] == '\\' && now[1] == '\\') || (now[0] == '/' && now[1] == '/')) return VB_TRUE;
  // The process remembers each drive's current folder in an "=C:" entry of its
  // environment; changing drives later (cChDrive) comes back to this folder.
  char record[4] = {'=', UpperChar(now[0]), ':', '\0'};
  if (!SetEnvironmentVariableA(record, now)) return LastErrno();
  return VB_TRUE;
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
  if (SetCurrentDirectoryA(name)) return VB_TRUE;
  return LastErrno();
}
