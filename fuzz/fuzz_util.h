// Shared pieces of the fuzz targets: a check that stops the run with a message (the
// fuzzer then keeps the input as a crash), exact-size heap copies so that AddressSanitizer
// sees any read past the end, and the lead-byte tables the path kernels are run with.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "frame/cpu_kernel.h"
#include "paths/split_kernel.h"

namespace vnk::fuzz {

#define FUZZ_CHECK(cond, ...)                                                  \
  do {                                                                         \
    if (!(cond)) {                                                             \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
      std::fprintf(stderr, "" __VA_ARGS__);                                    \
      std::fprintf(stderr, "\n");                                              \
      std::abort();                                                            \
    }                                                                          \
  } while (0)

// Runs one input's checks with the SSE2 paths (where the processor has them) and again
// with the plain loops an older processor runs, so that both paths meet the same
// reference on every input.
template <class Check>
int UnderBothLevels(Check check) {
  SetVectorLevel(VectorLevel::Sse2);
  check();
  SetVectorLevel(VectorLevel::Plain);
  check();
  SetVectorLevel(VectorLevel::Sse2);
  return 0;
}

// A heap block holding exactly these bytes, with no terminator after them unless the
// bytes end in one: a kernel that reads one byte too far trips AddressSanitizer.
class ExactBytes {
 public:
  explicit ExactBytes(std::string_view bytes) : size_(bytes.size()), data_(new char[bytes.size() ? bytes.size() : 1]) {
    if (!bytes.empty()) std::memcpy(data_.get(), bytes.data(), bytes.size());
  }
  char* data() { return data_.get(); }
  const unsigned char* bytes() const { return reinterpret_cast<const unsigned char*>(data_.get()); }
  size_t size() const { return size_; }

 private:
  size_t size_;
  std::unique_ptr<char[]> data_;
};

// A NUL-terminated copy in a block of exactly length + 1 bytes.
class ExactString {
 public:
  explicit ExactString(std::string_view text) : data_(new char[text.size() + 1]) {
    std::memcpy(data_.get(), text.data(), text.size());
    data_[text.size()] = '\0';
  }
  const char* c_str() const { return data_.get(); }

 private:
  std::unique_ptr<char[]> data_;
};

// A string without NUL bytes of at most max_len characters: what a String argument can
// carry.
inline std::string TextArg(FuzzedDataProvider& in, size_t max_len) {
  std::string s = in.ConsumeRandomLengthString(max_len);
  s.erase(std::remove(s.begin(), s.end(), '\0'), s.end());
  return s;
}

// The lead bytes of a double-byte code page (Shift-JIS ranges), used to check that the
// second byte of a character is never taken for a separator or a dot.
inline const LeadBytes& ShiftJisLeads() {
  static const LeadBytes table = [] {
    LeadBytes t{};
    for (int c = 0x81; c <= 0x9F; ++c) t[c] = true;
    for (int c = 0xE0; c <= 0xFC; ++c) t[c] = true;
    return t;
  }();
  return table;
}

// The largest block a block transform is given.
constexpr size_t kMaxBlock = 0x8000;

// Positions of the single-byte characters of s from `from` on: a lead byte with a byte
// after it starts a double-byte character, which is neither a separator nor a dot
// whatever its bytes (a lead byte 0x5C included).
inline std::vector<bool> SingleBytes(std::string_view s, const LeadBytes& lead, size_t from = 0) {
  std::vector<bool> single(s.size(), false);
  for (size_t i = from; i < s.size(); ++i) {
    if (lead[static_cast<unsigned char>(s[i])] && i + 1 < s.size()) ++i;
    else single[i] = true;
  }
  return single;
}

// One of: no lead bytes, Shift-JIS, or an arbitrary table from the input.
inline LeadBytes PickLeads(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 2)) {
    case 0: return SingleByteCodePage();
    case 1: return ShiftJisLeads();
    default: {
      LeadBytes t{};
      for (int c = 0; c < 256; c += 8) {
        uint8_t bits = in.ConsumeIntegral<uint8_t>();
        for (int b = 0; b < 8; ++b) t[c + b] = (bits >> b) & 1;
      }
      t[0] = false;
      return t;
    }
  }
}

}  // namespace vnk::fuzz
