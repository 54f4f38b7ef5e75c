// Paths as text: cIsFilenameValid, cSplitPath, cMakePath, cFullPath. None of them touches
// the files named.
#include "frame/host.h"
#include "paths/join_kernel.h"
#include "paths/split.h"
#include "paths/validate_kernel.h"

using namespace vnk;

// The name validation, answered unchanged.
extern "C" int16_t __stdcall cIsFilenameValid(StrArg name) { return ValidateFileName(name); }

// The record's four strings are always replaced: with the parts, or with empty strings
// when the path is refused, so the caller never sees parts of an earlier path.
extern "C" int16_t __stdcall cSplitPath(StrArg path, PathParts* parts) {
  if (AnyNull(parts)) return VB_FALSE;
  int16_t verdict = ValidateFileName(path);
  if (verdict != NAME_VALID) {
    EmptySlot(&parts->Drive);
    EmptySlot(&parts->Directory);
    EmptySlot(&parts->FileName);
    EmptySlot(&parts->Extension);
    return verdict;
  }
  // The validation has bounded the path to 516 characters.
  SplitParts split = SplitAnsiPath(path.c_str());
  ReplaceSlot(&parts->Drive, split.drive);
  ReplaceSlot(&parts->Directory, split.dir);
  ReplaceSlot(&parts->FileName, split.name);
  ReplaceSlot(&parts->Extension, split.ext);
  return -1;
}

// A joined path longer than 259 characters is not produced: the result is then empty,
// as for four empty arguments.
extern "C" BSTR __stdcall cMakePath(StrArg drive, StrArg dir, StrArg name, StrArg ext) {
  auto arg = [](const char* s) { return std::string_view(s, BoundedLength(s, MAX_PATH_CHARS)); };
  char joined[PATH_BUFFER];
  int len = JoinPath(arg(drive), arg(dir), arg(name), arg(ext), AnsiLeadBytes(), joined, sizeof joined);
  if (len <= 0) return EmptyString();
  return NewString(joined, static_cast<size_t>(len));
}

extern "C" BSTR __stdcall cFullPath(StrArg path) {
  if (path[0] == '\0') return EmptyString();  // not the current directory
  char full[PATH_BUFFER];
  DWORD len = GetFullPathNameA(path, sizeof full, full, nullptr);
  if (len == 0 || len >= sizeof full) return EmptyString();
  return NewString(full, len);
}
