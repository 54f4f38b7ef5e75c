// Paths as text: cIsFilenameValid, cSplitPath, cMakePath, cFullPath. None of them touches
// the files named.
#include <algorithm>
#include <string>

#include "frame/host.h"
#include "paths/call_rules.h"
#include "paths/join_kernel.h"
#include "paths/validate_kernel.h"
#include "system/fs.h"
#include "system/text.h"

using namespace vnk;

// The name validation, answered unchanged.
extern "C" int16_t __stdcall cIsFilenameValid(StrArg name) { return ValidateFileName(name, CallUnits()); }

// The record's four strings are always replaced: with the parts, or with empty strings
// when the path is refused, so the caller never sees parts of an earlier path.
extern "C" int16_t __stdcall cSplitPath(StrArg path, PathParts* parts) {
  if (AnyNull(parts)) return VB_FALSE;
  int16_t verdict = ValidateFileName(path, CallUnits());
  if (verdict != NAME_VALID) {
    EmptySlot(&parts->Drive);
    EmptySlot(&parts->Directory);
    EmptySlot(&parts->FileName);
    EmptySlot(&parts->Extension);
    return verdict;
  }
  // The validation has bounded the path to 516 characters.
  SplitParts split = SplitPath(path.c_str(), CallLeadBytes());
  ReplaceSlot(&parts->Drive, split.drive);
  ReplaceSlot(&parts->Directory, split.dir);
  ReplaceSlot(&parts->FileName, split.name);
  ReplaceSlot(&parts->Extension, split.ext);
  return -1;
}

namespace {

// A joined path longer than the call's longest path (259 characters for an ANSI call) is
// not produced: the result is then empty, as for four empty arguments.
BSTR MakePath(const char* drive, const char* dir, const char* name, const char* ext) {
  auto arg = [](const char* s) { return std::string_view(s, BoundedLength(s, CallPathLimit())); };
  std::string_view d = arg(drive), di = arg(dir), n = arg(name), e = arg(ext);
  // Room for the parts, a colon, a backslash and a dot, and never more than the limit.
  std::string joined(std::min(CallPathLimit(), d.size() + di.size() + n.size() + e.size() + 3) + 1, '\0');
  int len = JoinPath(d, di, n, e, CallLeadBytes(), &joined[0], joined.size());
  if (len <= 0) return EmptyString();
  return NewString(joined.data(), static_cast<size_t>(len));
}

// A full path longer than the call's longest path is not produced either.
BSTR FullPath(const char* path) {
  if (path[0] == '\0') return EmptyString();  // not the current directory
  std::string full;
  if (!sys::FullPath(path, &full) || full.size() > CallPathLimit()) return EmptyString();
  return NewString(full);
}

}  // namespace

extern "C" BSTR __stdcall cMakePath(StrArg drive, StrArg dir, StrArg name, StrArg ext) {
  BSTR joined = Shield<BSTR>(nullptr, [&] { return MakePath(drive, dir, name, ext); });
  return joined != nullptr ? joined : EmptyString();
}

extern "C" BSTR __stdcall cFullPath(StrArg path) {
  BSTR full = Shield<BSTR>(nullptr, [&] { return FullPath(path); });
  return full != nullptr ? full : EmptyString();
}
