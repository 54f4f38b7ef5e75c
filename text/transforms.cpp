// Whole-file transforms: cFileCompressTab, cFileExpandTab, cFileToUpper, cFileToLower,
// cFileChangeChars. The file is a stream of bytes taken in blocks of WORK_BLOCK; lines
// mean nothing here, and no block sees its neighbours.
#include <algorithm>

#include "files/copy.h"
#include "text/rewrite.h"
#include "text/stream_pass.h"
#include "text/transforms_kernel.h"

namespace vnk {

namespace {

// cFileExpandTab's answer for a block whose expansion would not fit its output block.
constexpr int32_t EXPAND_TOO_LONG = -2;


enum class Transform { CompressTab, ExpandTab, Upper, Lower };

Outcome<uint64_t> TransformBlocks(const char* source, const char* target, Transform what, int32_t tab_size) {
  const bool tabs = what == Transform::CompressTab || what == Transform::ExpandTab;
  // A tab size below 2 has nothing to replace: the file is copied as it is, with the
  // plain copy's own result.
  if (tabs && tab_size <= 1) return PlainCopy(source, target);
  const uint32_t tab = static_cast<uint32_t>(tab_size);

  // The expansion's limit holds for each 32 KB block of the source, which it therefore
  // reads one such block at a time; the others take large blocks and cut them where the
  // rule needs it.
  WorkBuffer in_block = what == Transform::ExpandTab ? TakeWorkBuffer(WORK_BLOCK, WORK_BLOCK) : TakeWorkBuffer(WORK_BLOCK);
  if (!in_block) return Failure{RC_NO_MEMORY};
  WorkBuffer out_block;
  if (tabs) {
    out_block = TakeWorkBuffer(what == Transform::ExpandTab ? EXPAND_LIMIT : WORK_BLOCK);
    if (!out_block) return Failure{RC_NO_MEMORY_SECOND};
  }
  BlockWriter out(out_block.get(), out_block.size);

  return TransformFile(source, target, in_block, out, [&](uint8_t* block, size_t n, BlockWriter& o) -> Status {
    switch (what) {
      case Transform::CompressTab:
        // A run of blanks never crosses a 32 KB block of the source.
        for (size_t at = 0; at < n; at += WORK_BLOCK) {
          size_t part = std::min<size_t>(WORK_BLOCK, n - at);
          auto* room = reinterpret_cast<uint8_t*>(o.Reserve(part));
          o.Commit(CompressBlanks(block + at, part, room, tab));
        }
        return o.status();
      case Transform::ExpandTab: {
        size_t count = CountTabs(block, n);
        if (!ExpansionFits(n, count, tab)) return Failure{EXPAND_TOO_LONG};
        auto* room = reinterpret_cast<uint8_t*>(o.Reserve(EXPAND_LIMIT));
        o.Commit(ExpandTabs(block, n, count, room, tab));
        return o.status();
      }
      case Transform::Upper:
        UpperAscii(block, n);
        break;
      case Transform::Lower:
        LowerAscii(block, n);
        break;
    }
    return o.Write(block, n);
  });
}

Outcome<uint64_t> ChangeChars(const char* file, BSTR* from_chars, BSTR* to_chars, const char* work_file) {
  if (file[0] == '\0') return uint64_t{0};
  std::string_view from = SlotBytes(from_chars), to = SlotBytes(to_chars);
  if (from.empty() || to.empty()) return uint64_t{0};

  WorkBuffer block = TakeWorkBuffer(WORK_BLOCK);
  if (!block) return Failure{RC_NO_MEMORY};
  const char* work = WorkFileName(work_file);
  // Both names must also suit the copy back; refusing them before the work file is
  // made leaves none behind and File untouched. The work file is refused only once File
  // has opened, so a File that cannot be opened is reported first.
  if (!FitsCallNameBuffer(file)) return Failure{RC_CANT_OPEN_FIRST};

  const size_t pairs = from.size() < to.size() ? from.size() : to.size();
  const ByteMap map = SubstitutionMap(reinterpret_cast<const uint8_t*>(from.data()),
                                      reinterpret_cast<const uint8_t*>(to.data()), pairs);
  BlockWriter out;
  Outcome<uint64_t> result = TransformFile(
      file, work, block, out,
      [&](uint8_t* b, size_t n, BlockWriter& o) {
        ApplyMap(map, b, n);
        return o.Write(b, n);
      },
      [](const char* source, const char* target, BlockWriter& o) {
        return OpenWorkFile(source, target, OutputMode::kReadWrite, o);
      });
  // A failed pass has already removed its work file and left File alone.
  if (!result) return result;
  int32_t copied = CopyBack(work, file, *result);
  return copied < 0 ? Outcome<uint64_t>(Failure{copied}) : result;
}

}  // namespace
}  // namespace vnk

using namespace vnk;

extern "C" int32_t __stdcall cFileCompressTab(StrArg source, StrArg target, int32_t tab_size) {
  return Shield(RC_NO_MEMORY,
                [&] { return LongResult(TransformBlocks(source, target, Transform::CompressTab, tab_size)); });
}

extern "C" int32_t __stdcall cFileExpandTab(StrArg source, StrArg target, int32_t tab_size) {
  return Shield(RC_NO_MEMORY,
                [&] { return LongResult(TransformBlocks(source, target, Transform::ExpandTab, tab_size)); });
}

extern "C" int32_t __stdcall cFileToUpper(StrArg source, StrArg target) {
  return Shield(RC_NO_MEMORY, [&] { return LongResult(TransformBlocks(source, target, Transform::Upper, 0)); });
}

extern "C" int32_t __stdcall cFileToLower(StrArg source, StrArg target) {
  return Shield(RC_NO_MEMORY, [&] { return LongResult(TransformBlocks(source, target, Transform::Lower, 0)); });
}

extern "C" int32_t __stdcall cFileChangeChars(StrArg file, BSTR* from_chars, BSTR* to_chars,
                                              StrArg work_file) {
  return Shield(RC_NO_MEMORY, [&] { return LongResult(ChangeChars(file, from_chars, to_chars, work_file)); });
}
