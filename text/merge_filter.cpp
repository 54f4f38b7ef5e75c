// Merge and filter: cFileMerge writes two files one after the other into a third;
// cFileFilter and cFileFilterNot copy a file dropping, or keeping only, a set of bytes.
#include "text/filter_kernel.h"
#include "text/stream_pass.h"

namespace vnk {

namespace {

// The filters' answer for an empty set of characters (nothing opened or created).
constexpr int32_t FILTER_NO_CHARS = -1;

int32_t Merge(const char* first, const char* second, const char* output) {
  TaskBuffer block = TaskAlloc(WORK_BLOCK);
  if (!block) return RC_NO_MEMORY;

  // All three are open before any byte moves, so an output that cannot be made leaves
  // nothing half done.
  if (!PathFits(first)) return RC_CANT_OPEN_FIRST;
  UniqueFile in1(fopen(first, "rb"));
  if (!in1) return RC_CANT_OPEN_FIRST;
  if (!PathFits(second)) return RC_CANT_OPEN_SECOND;
  UniqueFile in2(fopen(second, "rb"));
  if (!in2) return RC_CANT_OPEN_SECOND;
  // Opening an output that is one of the inputs would truncate it before it is read.
  if (!PathFits(output) || SameExistingFile(first, output) || SameExistingFile(second, output))
    return RC_CANT_OPEN_THIRD;
  UniqueFile out(OpenOutput(output, "w+b"));
  if (!out) return RC_CANT_OPEN_THIRD;

  auto* b = reinterpret_cast<uint8_t*>(block.get());
  auto as_read = [](uint8_t* data, size_t n) { return BlockOut{data, n}; };
  uint64_t total = 0;
  int32_t result = Pump(in1.get(), out.get(), b, kFirstInputCodes, total, as_read);
  // Second is copied only after First went through whole, so a failure while copying
  // First never carries a code of the second group.
  if (result == 0)
    result = Pump(in2.get(), out.get(), b, PumpCodes{RC_READ_FAILED_SECOND, RC_WRITE_SHORT_SECOND}, total, as_read);
  if (result == 0) result = ClampTotal(total);
  in1.reset();
  in2.reset();
  return FinishOutput(std::move(out), output, result);
}

// cFileFilter keeps the bytes that are not in chars (keep_members false), cFileFilterNot
// those that are.
int32_t Filter(const char* input, const char* output, BSTR* chars, bool keep_members) {
  TaskBuffer read_block = TaskAlloc(WORK_BLOCK);
  if (!read_block) return RC_NO_MEMORY;
  TaskBuffer kept_block = TaskAlloc(WORK_BLOCK);
  if (!kept_block) return RC_NO_MEMORY_SECOND;

  std::string_view set_bytes = SlotBytes(chars);
  if (set_bytes.empty()) return FILTER_NO_CHARS;
  const ByteSet set = MakeByteSet(reinterpret_cast<const uint8_t*>(set_bytes.data()), set_bytes.size());

  auto* kept = reinterpret_cast<uint8_t*>(kept_block.get());
  return TransformFile(input, output, reinterpret_cast<uint8_t*>(read_block.get()),
                       [&](uint8_t* block, size_t n) {
                         return BlockOut{kept, KeepBytes(set, keep_members, block, n, kept)};
                       });
}

}  // namespace
}  // namespace vnk

using namespace vnk;

extern "C" int32_t __stdcall cFileMerge(StrArg first, StrArg second, StrArg output) {
  return Merge(first, second, output);
}

extern "C" int32_t __stdcall cFileFilter(StrArg input, StrArg output, BSTR* chars) {
  return Filter(input, output, chars, false);
}

extern "C" int32_t __stdcall cFileFilterNot(StrArg input, StrArg output, BSTR* chars) {
  return Filter(input, output, chars, true);
}
