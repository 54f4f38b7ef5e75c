// Content comparison: cCmpFileContents, block by block, exactly or ignoring ASCII case.
#include <algorithm>

#include "files/block_io.h"
#include "files/compare_kernel.h"
#include "files/size.h"
#include "frame/host.h"
#include "system/text.h"

namespace vnk {
namespace {

int16_t CompareContents(const char* name1, const char* name2, bool exact) {
  // Whole sizes: files whose sizes differ by a multiple of 4 GiB are different files.
  std::optional<uint64_t> size1 = WholeFileSize(name1), size2 = WholeFileSize(name2);
  if (!size1 || !size2 || *size1 != *size2) return VB_FALSE;

  WorkBuffer block1 = TakeWorkBuffer(WORK_BLOCK);
  if (!block1) return RC_NO_MEMORY;
  WorkBuffer block2 = TakeWorkBuffer(WORK_BLOCK);
  if (!block2) return RC_NO_MEMORY_SECOND;

  if (!FitsCallPath(name1)) return RC_CANT_OPEN_FIRST;
  if (!FitsCallPath(name2)) return RC_CANT_OPEN_SECOND;
  BlockReader file1, file2;
  if (!file1.Open(name1)) return RC_CANT_OPEN_FIRST;
  if (!file2.Open(name2)) return RC_CANT_OPEN_SECOND;

  // Both blocks are read the same size, so equal files give equal counts every time.
  const size_t block = std::min(block1.size, block2.size);
  for (;;) {
    Outcome<size_t> n1 = file1.Read(block1.bytes(), block);
    Outcome<size_t> n2 = file2.Read(block2.bytes(), block);
    // A read error is reported with the write-failure code: callers test for that value.
    if (!n1 || !n2) return RC_WRITE_FAILED;
    if (*n1 == 0 && *n2 == 0) return VB_TRUE;
    if (*n1 != *n2) return RC_WRITE_SHORT;  // a file changed length under us
    if (!BlocksMatch(block1.bytes(), block2.bytes(), *n1, exact)) return VB_FALSE;
  }
}

}  // namespace
}  // namespace vnk

using namespace vnk;

extern "C" int16_t __stdcall cCmpFileContents(StrArg name1, StrArg name2, int16_t mode) {
  return Shield<int16_t>(RC_NO_MEMORY, [&] { return CompareContents(name1, name2, mode == -1); });
}
