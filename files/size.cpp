// File size and content comparison: cFileSize, cIsFileEmpty, cCmpFileSize,
// cCmpFileContents.
#include "files/size.h"

#include <sys/stat.h>

#include "files/compare_kernel.h"
#include "frame/host.h"

namespace vnk {

int64_t WholeFileSize(const char* name) {
  // The runtime's status query refuses wildcards and a bare drive such as "C:"; those
  // rules are part of what callers see, so they are stated here rather than left to
  // whichever runtime happens to run the library.
  if (std::strpbrk(name, "*?") != nullptr) return -1;
  if (name[0] != '\0' && name[1] == ':' && name[2] == '\0') return -1;
  struct _stati64 st;
  if (_stati64(name, &st) != 0) return -1;
  if (st.st_mode & _S_IFDIR) return 0;
  return st.st_size;
}

int32_t FileSizeQuery(const char* name) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(WholeFileSize(name))));
}

namespace {

int16_t CompareContents(const char* name1, const char* name2, bool exact) {
  // Whole sizes: files whose sizes differ by a multiple of 4 GiB are different files.
  int64_t size1 = WholeFileSize(name1);
  int64_t size2 = WholeFileSize(name2);
  if (size1 == -1 || size2 == -1 || size1 != size2) return VB_FALSE;

  TaskBuffer block1 = TaskAlloc(WORK_BLOCK);
  if (!block1) return RC_NO_MEMORY;
  TaskBuffer block2 = TaskAlloc(WORK_BLOCK);
  if (!block2) return RC_NO_MEMORY_SECOND;

  if (BoundedLength(name1, MAX_PATH_CHARS) > MAX_PATH_CHARS) return RC_CANT_OPEN_FIRST;
  if (BoundedLength(name2, MAX_PATH_CHARS) > MAX_PATH_CHARS) return RC_CANT_OPEN_SECOND;
  UniqueFile file1(fopen(name1, "rb"));
  if (!file1) return RC_CANT_OPEN_FIRST;
  UniqueFile file2(fopen(name2, "rb"));
  if (!file2) return RC_CANT_OPEN_SECOND;

  auto* a = reinterpret_cast<unsigned char*>(block1.get());
  auto* b = reinterpret_cast<unsigned char*>(block2.get());
  for (;;) {
    size_t n1 = fread(a, 1, WORK_BLOCK, file1.get());
    size_t n2 = fread(b, 1, WORK_BLOCK, file2.get());
    // A read error is reported with the write-failure code: callers test for that value.
    if (ferror(file1.get()) || ferror(file2.get())) return RC_WRITE_FAILED;
    if (n1 == 0 && n2 == 0) return VB_TRUE;
    if (n1 != n2) return RC_WRITE_SHORT;  // a file changed length under us
    if (!BlocksMatch(a, b, n1, exact)) return VB_FALSE;
  }
}

}  // namespace
}  // namespace vnk

using namespace vnk;

extern "C" int32_t __stdcall cFileSize(StrArg name) { return FileSizeQuery(name); }

// The emptiness and size comparison use the whole size, unlike cFileSize: a program that
// deletes "empty" files must never take a file of 4 GiB for one.
extern "C" int16_t __stdcall cIsFileEmpty(StrArg name) { return VbBool(WholeFileSize(name) == 0); }

extern "C" int16_t __stdcall cCmpFileSize(StrArg name1, StrArg name2) {
  int64_t size1 = WholeFileSize(name1);
  int64_t size2 = WholeFileSize(name2);
  if (size1 == -1 || size2 == -1) return -2;
  return size1 < size2 ? -1 : (size1 > size2 ? 1 : 0);
}

extern "C" int16_t __stdcall cCmpFileContents(StrArg name1, StrArg name2, int16_t mode) {
  return CompareContents(name1, name2, mode == -1);
}
