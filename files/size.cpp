// File sizes: cFileSize, cIsFileEmpty, cCmpFileSize, and the size routine the library
// shares.
#include "files/size.h"

#include <sys/stat.h>

#include "frame/host.h"
#include "paths/rules_kernel.h"

namespace vnk {

std::optional<uint64_t> WholeFileSize(const char* name) {
  // The runtime's status query refuses wildcards and a bare drive such as "C:"; those
  // rules are part of what callers see, so they are stated here rather than left to
  // whichever runtime happens to run the library.
  if (StatusQueryRefuses(name)) return std::nullopt;
  struct _stati64 st;
  if (_stati64(name, &st) != 0) return std::nullopt;
  if (st.st_mode & _S_IFDIR) return 0;
  return static_cast<uint64_t>(st.st_size);
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
