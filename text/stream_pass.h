// The pass shared by the text functions that write a new file from an old one: opening
// in order, the source read in large blocks and handed to a transform that writes to the
// output, closing the source first and deleting an unfinished output.
#pragma once

#include <cstdint>

#include "files/block_io.h"
#include "frame/host.h"
#include "system/text.h"

namespace vnk {

// Opens the target of a pass that writes a new file, "w+b", written beside itself and put
// in place when complete (BlockWriter::OpenTarget): false (the pass's
// RC_CANT_OPEN_SECOND) for a name longer than the call's paths and for the source itself
// (by another spelling or another name), since opening it would truncate the source.
bool OpenNewTarget(const char* source, const char* target, BlockWriter& out);

// Reads `in` to its end in blocks the size of `block` and hands each to transform(data,
// n, out), which writes what the block becomes. Success at the end of `in`, or the first
// failure: the block's read (bytes that a failing read delivered are dropped), then the
// transform's own failure or the output's.
template <class Transform>
Status Pump(BlockReader& in, BlockWriter& out, const WorkBuffer& block, Transform&& transform) {
  for (;;) {
    Outcome<size_t> n = in.Read(block.get(), block.size);
    if (!n) return n.failure();
    if (*n == 0) return Ok();
    if (Status s = transform(block.bytes(), *n, out); !s) return s;
  }
}

// The whole pass from source to target: the path check, the "rb" open with
// RC_CANT_OPEN_FIRST, open_target(source, target, out) once the source is open (false
// gives RC_CANT_OPEN_SECOND), the pump and the clean-up. Gives the bytes written or the
// failure.
template <class Transform, class OpenTarget>
Outcome<uint64_t> TransformFile(const char* source, const char* target, const WorkBuffer& block, BlockWriter& out,
                                Transform&& transform, OpenTarget&& open_target) {
  if (!FitsCallPath(source)) return Failure{RC_CANT_OPEN_FIRST};
  BlockReader in;
  if (!in.Open(source)) return Failure{RC_CANT_OPEN_FIRST};
  if (!open_target(source, target, out)) return Failure{RC_CANT_OPEN_SECOND};
  Status pass = Pump(in, out, block, transform);
  in.Close();
  return out.FinishCount(pass, OnFailure::kDelete);
}

template <class Transform>
Outcome<uint64_t> TransformFile(const char* source, const char* target, const WorkBuffer& block, BlockWriter& out,
                                Transform&& transform) {
  return TransformFile(source, target, block, out, transform, OpenNewTarget);
}

}  // namespace vnk
