// The block pass shared by the text functions that write a new file from an old one:
// opening in order, the read and write tests after every block, closing source first
// and deleting an unfinished output.
#pragma once

#include <cstdint>
#include <cstdio>

#include "files/identity.h"
#include "frame/host.h"
#include "frame/output.h"
#include "paths/rules_kernel.h"

namespace vnk {

// Whether a path fits the 259-character path buffers; a longer one is refused with the
// open-failure code of the file it names, before anything is opened.
inline bool PathFits(const char* path) { return FitsPathBuffer(path); }

// What one block transform hands back: the bytes to write, or a code (below 0) that
// ends the pass.
struct BlockOut {
  const uint8_t* data = nullptr;
  size_t size = 0;
  int32_t code = 0;
};

// The codes one pumped input reports (the merge's second input has codes of its own).
struct PumpCodes {
  int32_t read_failed;
  int32_t write_short;
};
constexpr PumpCodes kFirstInputCodes{RC_READ_FAILED, RC_WRITE_SHORT};

// Reads `in` to its end in blocks of WORK_BLOCK bytes, passes each block through
// `transform` and writes what it returns to `out`, adding the counts written to total.
// Returns 0 at the end of `in`, or the first failure: the read test comes first (bytes
// that a failing read delivered are dropped), then the transform's own code, then the
// output's error indicator, then the count written.
template <class Transform>
int32_t Pump(FILE* in, FILE* out, uint8_t* block, PumpCodes codes, uint64_t& total, Transform&& transform) {
  for (;;) {
    size_t n = fread(block, 1, WORK_BLOCK, in);
    if (ferror(in)) return codes.read_failed;
    if (n == 0) return 0;
    BlockOut b = transform(block, n);
    if (b.code < 0) return b.code;
    if (b.size == 0) continue;
    size_t w = fwrite(b.data, 1, b.size, out);
    if (ferror(out)) return RC_WRITE_FAILED;
    if (w != b.size) return codes.write_short;
    total += w;
  }
}

// Closes an output whose inputs are already closed and settles the result: a close that
// fails to write the last buffered bytes is a failed write, and an output with a
// negative result is deleted (a failure of that deletion does not change the result).
int32_t FinishOutput(UniqueFile out, const char* name, int32_t result);

// Opens the target of a pass that writes a new file, "w+b": null, the pass's
// RC_CANT_OPEN_SECOND, for a name longer than the path buffers and for the source itself
// (by another spelling or another name), since opening it would truncate the source.
UniqueFile OpenNewTarget(const char* source, const char* target);

// The whole pass from source to target: the path check, the "rb" open with
// RC_CANT_OPEN_FIRST, open_target(source, target) once the source is open (null gives
// RC_CANT_OPEN_SECOND), the pump, and the clean-up. Returns the bytes written (clamped to
// the largest Long) or a negative code; written, when given, gets the exact count.
template <class Transform, class OpenTarget>
int32_t TransformFile(const char* source, const char* target, uint8_t* block, Transform&& transform,
                      OpenTarget&& open_target, uint64_t* written = nullptr) {
  if (!PathFits(source)) return RC_CANT_OPEN_FIRST;
  UniqueFile in(fopen(source, "rb"));
  if (!in) return RC_CANT_OPEN_FIRST;
  UniqueFile out = open_target(source, target);
  if (!out) return RC_CANT_OPEN_SECOND;
  uint64_t total = 0;
  int32_t result = Pump(in.get(), out.get(), block, kFirstInputCodes, total, transform);
  if (result == 0) result = ClampTotal(total);
  if (written != nullptr) *written = total;
  in.reset();
  return FinishOutput(std::move(out), target, result);
}

template <class Transform>
int32_t TransformFile(const char* source, const char* target, uint8_t* block, Transform&& transform) {
  return TransformFile(source, target, block, transform, OpenNewTarget);
}

}  // namespace vnk
