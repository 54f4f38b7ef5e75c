// UU encoding and decoding of the data lines: cFileUUCP. No header or closing line is
// written, and none is expected when decoding.
#include <algorithm>

#include "frame/ascii_kernel.h"
#include "files/size.h"
#include "files/identity.h"
#include "text/stream_pass.h"
#include "text/uu_kernel.h"

namespace vnk {

namespace {

// What each coder writes, and whether it has met the end of the data.
template <class Coder>
struct CoderTraits;
template <>
struct CoderTraits<UuEncoder> {
  using Out = char*;  // encoded text
  static bool Ended(const UuEncoder&) { return false; }
};
template <>
struct CoderTraits<UuDecoder> {
  using Out = uint8_t*;  // decoded bytes; a zero length ends the data
  static bool Ended(const UuDecoder& d) { return d.ended(); }
};

// Runs the whole input through `coder` (a UuEncoder or a UuDecoder), block by block,
// straight from the read buffer into the writer's. Each block is fed in pieces whose
// output fits the writer's buffer at once. As with the runtime's own byte reads, a
// read error ends the input as its end does. A failed write ends the run; the writer
// keeps it for the caller.
template <class Coder>
void Run(BlockReader& in, uint8_t* block, size_t capacity, BlockWriter& out, Coder& coder) {
  const size_t piece = out.capacity() / 2;
  bool ended = false;
  while (!ended && out.status().ok()) {
    Outcome<size_t> got = in.Read(block, capacity);
    size_t n = got ? *got : 0;
    if (n == 0) break;
    for (size_t at = 0; at < n && !ended; at += piece) {
      size_t k = std::min(piece, n - at);
      out.Commit(coder.Feed(block + at, k, reinterpret_cast<typename CoderTraits<Coder>::Out>(out.Reserve(Coder::Room(k)))));
      ended = CoderTraits<Coder>::Ended(coder);
    }
  }
  out.Commit(coder.Finish(reinterpret_cast<typename CoderTraits<Coder>::Out>(out.Reserve(UU_MAX_LINE_CHARS))));
}

// Size of the finished output, clamped to the largest Long; -1 when it cannot be read.
int32_t OutputSize(const char* name) {
  std::optional<uint64_t> size = WholeFileSize(name);
  return size ? ClampTotal(*size) : -1;
}

int32_t UuCopy(const char* input, const char* output, bool encode) {
  // The same file under two names would be truncated before it is read; this answer is
  // the one for the same name written twice.
  if (SameNameIgnoringCase(input, output) || SameExistingFile(input, output)) return 0;
  if (!FitsCallPath(input)) return RC_CANT_OPEN_FIRST;
  BlockReader in;
  if (!in.Open(input)) return RC_CANT_OPEN_FIRST;
  if (!FitsCallPath(output)) return RC_CANT_OPEN_SECOND;
  // Large blocks when memory allows; the coder has no failure for want of memory, so
  // it falls back on blocks of its own.
  constexpr size_t kOwnBlock = 65536;
  uint8_t own_in[kOwnBlock], own_out[kOwnBlock];
  WorkBuffer in_block = TakeWorkBuffer(kOwnBlock), out_block = TakeWorkBuffer(kOwnBlock);
  BlockWriter out(out_block ? out_block.get() : reinterpret_cast<char*>(own_out),
                  out_block ? out_block.size : kOwnBlock);
  if (!out.OpenTarget(output, OutputMode::kWriteOnly, RC_CANT_OPEN_SECOND)) return RC_CANT_OPEN_SECOND;
  uint8_t* block = in_block ? in_block.bytes() : own_in;
  size_t capacity = in_block ? in_block.size : kOwnBlock;
  if (encode) {
    UuEncoder coder;
    Run(in, block, capacity, out, coder);
  } else {
    UuDecoder coder;
    Run(in, block, capacity, out, coder);
  }
  // A failed write is reported as such: a decoded output's size alone could not tell
  // the caller that it was cut. Nothing of it stays; a Target that existed keeps its
  // bytes.
  in.Close();
  Status written = out.Finish(out.status(), OnFailure::kDelete);
  if (!written) return written.code();
  return OutputSize(output);
}

}  // namespace
}  // namespace vnk

using namespace vnk;

extern "C" int32_t __stdcall cFileUUCP(StrArg input, StrArg output, int16_t direction) {
  return Shield(RC_NO_MEMORY, [&] { return UuCopy(input, output, direction == 0); });
}
