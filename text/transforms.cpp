// Whole-file transforms: cFileCompressTab, cFileExpandTab, cFileToUpper, cFileToLower,
// cFileChangeChars. The file is a stream of bytes taken in blocks of WORK_BLOCK; lines
// mean nothing here, and no block sees its neighbours.
#include "files/copy.h"
#include "text/rewrite.h"
#include "text/stream_pass.h"
#include "text/transforms_kernel.h"

namespace vnk {

namespace {

// cFileExpandTab's answer for a block whose expansion would not fit its output block.
constexpr int32_t EXPAND_TOO_LONG = -2;


enum class Transform { CompressTab, ExpandTab, Upper, Lower };

int32_t TransformBlocks(const char* source, const char* target, Transform what, int32_t tab_size) {
  const bool tabs = what == Transform::CompressTab || what == Transform::ExpandTab;
  // A tab size below 2 has nothing to replace: the file is copied as it is, with the
  // plain copy's own result.
  if (tabs && tab_size <= 1) return PlainCopy(source, target);
  const uint32_t tab = static_cast<uint32_t>(tab_size);

  TaskBuffer in_block = TaskAlloc(WORK_BLOCK);
  if (!in_block) return RC_NO_MEMORY;
  TaskBuffer out_block;
  if (tabs) {
    out_block = TaskAlloc(what == Transform::ExpandTab ? EXPAND_LIMIT : WORK_BLOCK);
    if (!out_block) return RC_NO_MEMORY_SECOND;
  }
  auto* out = reinterpret_cast<uint8_t*>(out_block.get());

  return TransformFile(source, target, reinterpret_cast<uint8_t*>(in_block.get()),
                       [&](uint8_t* block, size_t n) -> BlockOut {
                         switch (what) {
                           case Transform::CompressTab:
                             return {out, CompressBlanks(block, n, out, tab)};
                           case Transform::ExpandTab: {
                             size_t count = CountTabs(block, n);
                             if (!ExpansionFits(n, count, tab)) return {nullptr, 0, EXPAND_TOO_LONG};
                             return {out, ExpandTabs(block, n, count, out, tab)};
                           }
                           case Transform::Upper:
                             UpperAscii(block, n);
                             break;
                           case Transform::Lower:
                             LowerAscii(block, n);
                             break;
                         }
                         return {block, n};
                       });
}

int32_t ChangeChars(const char* file, BSTR* from_chars, BSTR* to_chars, const char* work_file) {
  if (file[0] == '\0') return 0;
  std::string_view from = SlotBytes(from_chars), to = SlotBytes(to_chars);
  if (from.empty() || to.empty()) return 0;

  TaskBuffer block = TaskAlloc(WORK_BLOCK);
  if (!block) return RC_NO_MEMORY;
  const char* work = WorkFileName(work_file);
  // Both names must also suit the copy back; refusing them before the work file is
  // made leaves none behind and File untouched. The work file is refused only once File
  // has opened, so a File that cannot be opened is reported first.
  if (BoundedLength(file, kCopyBackNameChars) > kCopyBackNameChars) return RC_CANT_OPEN_FIRST;

  const size_t pairs = from.size() < to.size() ? from.size() : to.size();
  const ByteMap map = SubstitutionMap(reinterpret_cast<const uint8_t*>(from.data()),
                                      reinterpret_cast<const uint8_t*>(to.data()), pairs);
  uint64_t written = 0;
  int32_t result = TransformFile(
      file, work, reinterpret_cast<uint8_t*>(block.get()),
      [&](uint8_t* b, size_t n) -> BlockOut {
        ApplyMap(map, b, n);
        return {b, n};
      },
      [](const char* source, const char* target) { return OpenWorkFile(source, target, "w+b"); }, &written);
  // A failed pass has already removed its work file and left File alone.
  if (result < 0) return result;
  int32_t copied = CopyBack(work, file, written);
  return copied < 0 ? copied : result;
}

}  // namespace
}  // namespace vnk

using namespace vnk;

extern "C" int32_t __stdcall cFileCompressTab(StrArg source, StrArg target, int32_t tab_size) {
  return TransformBlocks(source, target, Transform::CompressTab, tab_size);
}

extern "C" int32_t __stdcall cFileExpandTab(StrArg source, StrArg target, int32_t tab_size) {
  return TransformBlocks(source, target, Transform::ExpandTab, tab_size);
}

extern "C" int32_t __stdcall cFileToUpper(StrArg source, StrArg target) {
  return TransformBlocks(source, target, Transform::Upper, 0);
}

extern "C" int32_t __stdcall cFileToLower(StrArg source, StrArg target) {
  return TransformBlocks(source, target, Transform::Lower, 0);
}

extern "C" int32_t __stdcall cFileChangeChars(StrArg file, BSTR* from_chars, BSTR* to_chars,
                                              StrArg work_file) {
  return ChangeChars(file, from_chars, to_chars, work_file);
}
