// Content comparison: cCmpFileContents, block by block, exactly or ignoring ASCII case.
#include "files/compare_kernel.h"
#include "files/size.h"
#include "frame/host.h"
#include "paths/rules_kernel.h"

namespace vnk {
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

  if (!FitsPathBuffer(name1)) return RC_CANT_OPEN_FIRST;
  if (!FitsPathBuffer(name2)) return RC_CANT_OPEN_SECOND;
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

extern "C" int16_t __stdcall cCmpFileContents(StrArg name1, StrArg name2, int16_t mode) {
  return CompareContents(name1, name2, mode == -1);
}
