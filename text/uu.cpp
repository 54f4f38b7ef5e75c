// UU encoding and decoding of the data lines: cFileUUCP. No header or closing line is
// written, and none is expected when decoding.
#include <sys/stat.h>

#include <algorithm>

#include "frame/ascii_kernel.h"
#include "files/size.h"
#include "text/stream_pass.h"
#include "text/uu_kernel.h"

namespace vnk {

namespace {

// Byte-at-a-time access to the streams without a runtime call per byte. As with the
// runtime's own byte read, the end of the input and a read error look the same.
class ByteReader {
 public:
  explicit ByteReader(FILE* f) : f_(f) {}
  int Get() {
    if (pos_ == len_) {
      len_ = ended_ ? 0 : fread(buf_, 1, sizeof buf_, f_);
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
  FILE* f_;
  uint8_t buf_[65536];
  size_t pos_ = 0, len_ = 0;
  bool ended_ = false;
};

// Writes are not tested one by one: the result, the size of the output once closed,
// tells the caller how much arrived.
class ByteWriter {
 public:
  explicit ByteWriter(FILE* f) : f_(f) {}
  ~ByteWriter() { Flush(); }
  void Write(const void* data, size_t n) {
    if (len_ + n > sizeof buf_) Flush();
    std::memcpy(buf_ + len_, data, n);
    len_ += n;
  }
  void Flush() {
    if (len_ > 0) fwrite(buf_, 1, len_, f_);
    len_ = 0;
  }

 private:
  FILE* f_;
  uint8_t buf_[65536];
  size_t len_ = 0;
};

void Encode(ByteReader& in, ByteWriter& out) {
  // The line buffer is never cleared between lines: a short last group takes its
  // missing bytes from the line before (zeros on the first line). A decoder ignores them.
  uint8_t line[256] = {};
  char text[UU_LINE_CHARS];
  for (;;) {
    size_t n = in.Read(line, UU_LINE_BYTES);
    if (n == 0) return;
    out.Write(text, UuEncodeLine(line, n, text));
  }
}

void Decode(ByteReader& in, ByteWriter& out) {
  for (;;) {
    int c = in.Get();
    if (c == EOF) return;
    // A zero length (a blank or "`") ends the data, as another encoder's closing line does.
    size_t due = UuValue(c);
    if (due == 0) return;
    // A whole line already in the buffer is decoded straight from it: the same groups,
    // the same bytes, one write.
    const size_t groups = (due + 2) / 3;
    if (const uint8_t* p = in.Peek(4 * groups + 1)) {
      uint8_t bytes[3 * 21];
      size_t o = UuDecodeLine(p, due, bytes);
      out.Write(bytes, o);
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
  UniqueFile in(fopen(input, "rb"));
  if (!in) return RC_CANT_OPEN_FIRST;
  if (!PathFits(output)) return RC_CANT_OPEN_SECOND;
  UniqueFile out(OpenOutput(output, "wb"));
  if (!out) return RC_CANT_OPEN_SECOND;
  {
    ByteReader reader(in.get());
    ByteWriter writer(out.get());
    if (encode)
      Encode(reader, writer);
    else
      Decode(reader, writer);
  }
  // What was written stays, whatever happened; the size tells the caller how much.
  out.reset();
  in.reset();
  return OutputSize(output);
}

}  // namespace
}  // namespace vnk

using namespace vnk;

extern "C" int32_t __stdcall cFileUUCP(StrArg input, StrArg output, int16_t direction) {
  return UuCopy(input, output, direction == 0);
}
