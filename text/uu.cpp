// UU encoding and decoding of the data lines: cFileUUCP. No header or closing line is
// written, and none is expected when decoding.
#include <sys/stat.h>

#include <algorithm>

#include "frame/ascii_kernel.h"
#include "files/size.h"
#include "files/identity.h"
#include "text/stream_pass.h"
#include "text/uu_kernel.h"

namespace vnk {

namespace {

// Byte-at-a-time access to the input without a call per byte. As with the runtime's own
// byte read, the end of the input and a read error look the same.
class ByteReader {
 public:
  ByteReader(BlockReader& in, uint8_t* buf, size_t capacity) : in_(in), buf_(buf), capacity_(capacity) {}
  int Get() {
    if (pos_ == len_) {
      Outcome<size_t> got = ended_ ? Outcome<size_t>(size_t{0}) : in_.Read(buf_, capacity_);
      len_ = got ? *got : 0;
      pos_ = 0;
      if (len_ == 0) {
        ended_ = true;
        return EOF;
      }
    }
    return buf_[pos_++];
  }

  // Up to `want` bytes into dst, as many Get() calls would deliver them; returns how
  // many (fewer only at the end of the input).
  size_t Read(uint8_t* dst, size_t want) {
    size_t got = 0;
    while (got < want) {
      if (pos_ == len_) {
        int c = Get();
        if (c == EOF) break;
        dst[got++] = static_cast<uint8_t>(c);
        continue;
      }
      size_t take = std::min(want - got, len_ - pos_);
      std::memcpy(dst + got, buf_ + pos_, take);
      pos_ += take;
      got += take;
    }
    return got;
  }

  // The next n bytes when they are already buffered (nothing is consumed), else null.
  const uint8_t* Peek(size_t n) const { return len_ - pos_ >= n ? buf_ + pos_ : nullptr; }
  void Skip(size_t n) { pos_ += n; }

 private:
  BlockReader& in_;
  uint8_t* buf_;
  size_t capacity_;
  size_t pos_ = 0, len_ = 0;
  bool ended_ = false;
};

// Writes are not tested one by one: the result, the size of the output once closed,
// tells the caller how much arrived.
void Encode(ByteReader& in, BlockWriter& out) {
  // The line buffer is never cleared between lines: a short last group takes its
  // missing bytes from the line before (zeros on the first line). A decoder ignores them.
  // Whole lines are encoded where they lie in the input's buffer; only a line that the
  // buffer's end cuts (or the last one) is gathered in `line`, over a copy of the line
  // before it.
  uint8_t line[256] = {};
  const uint8_t* before = nullptr;  // the line before, where it lies in the buffer
  for (;;) {
    const uint8_t* data = in.Peek(UU_LINE_BYTES);
    size_t n = UU_LINE_BYTES;
    if (data != nullptr) {
      in.Skip(n);
      before = data;
    } else {
      if (before != nullptr) std::memcpy(line, before, UU_LINE_BYTES);
      before = nullptr;
      n = in.Read(line, UU_LINE_BYTES);
      if (n == 0) return;
      data = line;
    }
    out.Commit(UuEncodeLine(data, n, out.Reserve(UU_LINE_CHARS)));
  }
}

void Decode(ByteReader& in, BlockWriter& out) {
  for (;;) {
    int c = in.Get();
    if (c == EOF) return;
    // A zero length (a blank or "`") ends the data, as another encoder's closing line does.
    size_t due = UuValue(c);
    if (due == 0) return;
    // A whole line already in the buffer is decoded straight from it into the output:
    // the same groups, the same bytes.
    const size_t groups = (due + 2) / 3;
    if (const uint8_t* p = in.Peek(4 * groups + 1)) {
      out.Commit(UuDecodeLine(p, due, reinterpret_cast<uint8_t*>(out.Reserve(3 * groups))));
      in.Skip(4 * groups + 1);
      continue;
    }
    while (due > 0) {
      uint8_t e = UuValue(in.Get()), f = UuValue(in.Get()), g = UuValue(in.Get()), h = UuValue(in.Get());
      uint8_t bytes[3];
      out.Write(bytes, UuDecodeGroup(e, f, g, h, due, bytes));
      due = due > 3 ? due - 3 : 0;
    }
    in.Get();  // the line end: exactly one byte
  }
}

// Size of the finished output: -1 when the file size routine cannot read it, otherwise
// clamped to the largest Long.
int32_t OutputSize(const char* name) {
  if (FileSizeQuery(name) == -1) return -1;
  struct _stati64 st;
  if (_stati64(name, &st) != 0) return -1;
  return ClampTotal(static_cast<uint64_t>(st.st_size));
}

int32_t UuCopy(const char* input, const char* output, bool encode) {
  // The same file under two names would be truncated before it is read; this answer is
  // the one for the same name written twice.
  if (SameNameIgnoringCase(input, output) || SameExistingFile(input, output)) return 0;
  if (!PathFits(input)) return RC_CANT_OPEN_FIRST;
  BlockReader in;
  if (!in.Open(input)) return RC_CANT_OPEN_FIRST;
  if (!PathFits(output)) return RC_CANT_OPEN_SECOND;
  // Large blocks when memory allows; the coder has no failure for want of memory, so
  // it falls back on blocks of its own.
  constexpr size_t kOwnBlock = 65536;
  uint8_t own_in[kOwnBlock], own_out[kOwnBlock];
  WorkBuffer in_block = TakeWorkBuffer(kOwnBlock), out_block = TakeWorkBuffer(kOwnBlock);
  BlockWriter out(out_block ? out_block.get() : reinterpret_cast<char*>(own_out),
                  out_block ? out_block.size : kOwnBlock);
  if (!out.Open(output, OutputMode::kWriteOnly)) return RC_CANT_OPEN_SECOND;
  ByteReader reader(in, in_block ? in_block.bytes() : own_in, in_block ? in_block.size : kOwnBlock);
  if (encode)
    Encode(reader, out);
  else
    Decode(reader, out);
  // What was written stays, whatever happened; the size tells the caller how much.
  in.Close();
  (void)out.Finish(Ok(), OnFailure::kKeep);
  return OutputSize(output);
}

}  // namespace
}  // namespace vnk

using namespace vnk;

extern "C" int32_t __stdcall cFileUUCP(StrArg input, StrArg output, int16_t direction) {
  return UuCopy(input, output, direction == 0);
}
