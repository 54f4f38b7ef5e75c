// Merge and filter: cFileMerge writes two files one after the other into a third;
// cFileFilter and cFileFilterNot copy a file dropping, or keeping only, a set of bytes.
#include <algorithm>

#include "files/identity.h"
#include "text/filter_kernel.h"
#include "text/stream_pass.h"

namespace vnk {

namespace {

// The filters' answer for an empty set of characters (nothing opened or created).
constexpr int32_t FILTER_NO_CHARS = -1;

Outcome<uint64_t> Merge(const char* first, const char* second, const char* output) {
  WorkBuffer block = TakeWorkBuffer(WORK_BLOCK);
  if (!block) return Failure{RC_NO_MEMORY};

  // All three are open before any byte moves, so an output that cannot be made leaves
  // nothing half done.
  if (!FitsCallPath(first)) return Failure{RC_CANT_OPEN_FIRST};
  BlockReader in1;
  if (!in1.Open(first)) return Failure{RC_CANT_OPEN_FIRST};
  if (!FitsCallPath(second)) return Failure{RC_CANT_OPEN_SECOND};
  BlockReader in2(RC_READ_FAILED_SECOND);
  if (!in2.Open(second)) return Failure{RC_CANT_OPEN_SECOND};
  // Opening an output that is one of the inputs would truncate it before it is read.
  if (!FitsCallPath(output) || SameExistingFile(first, output) || SameExistingFile(second, output))
    return Failure{RC_CANT_OPEN_THIRD};
  BlockWriter out;
  if (!out.OpenTarget(output, OutputMode::kReadWrite, RC_CANT_OPEN_THIRD)) return Failure{RC_CANT_OPEN_THIRD};

  // Second is copied only after First went through whole, so a failure while copying
  // First never carries a code of the second group.
  Status pass = CopyRest(in1, out, block);
  if (pass) pass = CopyRest(in2, out, block);
  in1.Close();
  in2.Close();
  return out.FinishCount(pass, OnFailure::kDelete);
}

// cFileFilter keeps the bytes that are not in chars (keep_members false), cFileFilterNot
// those that are.
Outcome<uint64_t> Filter(const char* input, const char* output, BSTR* chars, bool keep_members) {
  WorkBuffer read_block = TakeWorkBuffer(WORK_BLOCK);
  if (!read_block) return Failure{RC_NO_MEMORY};
  WorkBuffer kept_block = TakeWorkBuffer(WORK_BLOCK);
  if (!kept_block) return Failure{RC_NO_MEMORY_SECOND};

  std::string_view set_bytes = SlotBytes(chars);
  if (set_bytes.empty()) return Failure{FILTER_NO_CHARS};
  const ByteSet set = MakeByteSet(reinterpret_cast<const uint8_t*>(set_bytes.data()), set_bytes.size());

  BlockWriter out(kept_block.get(), kept_block.size);
  return TransformFile(input, output, read_block, out, [&](uint8_t* block, size_t n, BlockWriter& o) {
    for (size_t at = 0; at < n; at += o.capacity()) {
      size_t part = std::min(o.capacity(), n - at);
      auto* kept = reinterpret_cast<uint8_t*>(o.Reserve(part));
      o.Commit(KeepBytes(set, keep_members, block + at, part, kept));
    }
    return o.status();
  });
}

}  // namespace
}  // namespace vnk

using namespace vnk;

extern "C" int32_t __stdcall cFileMerge(StrArg first, StrArg second, StrArg output) {
  return Shield(RC_NO_MEMORY, [&] { return LongResult(Merge(first, second, output)); });
}

extern "C" int32_t __stdcall cFileFilter(StrArg input, StrArg output, BSTR* chars) {
  return Shield(RC_NO_MEMORY, [&] { return LongResult(Filter(input, output, chars, false)); });
}

extern "C" int32_t __stdcall cFileFilterNot(StrArg input, StrArg output, BSTR* chars) {
  return Shield(RC_NO_MEMORY, [&] { return LongResult(Filter(input, output, chars, true)); });
}
