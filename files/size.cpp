// File sizes: cFileSize, cIsFileEmpty, cCmpFileSize, and the size routine the library
// shares.
#include "files/size.h"

#include <cstring>
#include <string_view>

#include "frame/host.h"
#include "paths/call_rules.h"
#include "paths/path_kernel.h"
#include "paths/rules_kernel.h"
#include "system/fs.h"
#include "system/text.h"

namespace vnk {

bool FileStatus(const char* name, WIN32_FILE_ATTRIBUTE_DATA* data) {
  // The runtime's status query refuses wildcards and a bare drive such as "C:"; those
  // rules are part of what callers see, so they are stated here rather than left to
  // whichever runtime happens to run the library. Trailing blanks do not count, and a
  // name that ends in a separator names no file, unless it is a drive's root.
  if (StatusQueryRefuses(name)) return false;
  std::string_view n(name);
  while (!n.empty() && n.back() == ' ') n.remove_suffix(1);
  if (IsBareDrive(n)) return false;
  if (n.size() >= 2 && n[n.size() - 2] != ':' && EndsWithSeparator(n, CallLeadBytes())) return false;
  return sys::AttributesEx(name, data) != 0;
}

std::optional<uint64_t> WholeFileSize(const char* name) {
  return Shield(std::optional<uint64_t>(), [&]() -> std::optional<uint64_t> {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!FileStatus(name, &data)) return std::nullopt;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
    return (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  });
}

int32_t FileSizeQuery(const char* name) {
  std::optional<uint64_t> size = WholeFileSize(name);
  return size ? static_cast<int32_t>(static_cast<uint32_t>(*size)) : -1;
}

}  // namespace vnk

using namespace vnk;

extern "C" int32_t __stdcall cFileSize(StrArg name) { return FileSizeQuery(name); }

// The emptiness and size comparison use the whole size, unlike cFileSize: a program that
// deletes "empty" files must never take a file of 4 GiB for one.
extern "C" int16_t __stdcall cIsFileEmpty(StrArg name) { return VbBool(WholeFileSize(name) == uint64_t{0}); }

extern "C" int16_t __stdcall cCmpFileSize(StrArg name1, StrArg name2) {
  std::optional<uint64_t> size1 = WholeFileSize(name1), size2 = WholeFileSize(name2);
  if (!size1 || !size2) return CMP_CANT_EXAMINE;
  return *size1 < *size2 ? -1 : (*size1 > *size2 ? 1 : 0);
}
