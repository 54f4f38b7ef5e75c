// The UU codec: any bytes encoded line by line (the last group padded with zero bytes)
// and decoded again come back unchanged; any bytes at all
// fed to the decoding loop, which follows cFileUUCP's own, never make a group write more
// than the three bytes its output has; and the block coders, given the same stream cut
// into blocks anywhere, write exactly what the line loops write, into output of exactly
// the room they promise.
#include "fuzz/fuzz_util.h"
#include "text/uu_kernel.h"

namespace {

// cFileUUCP's decoding loop over a byte string; -1 stands for the end of the input.
std::string Decode(const std::string& text) {
  size_t at = 0;
  auto get = [&]() -> int { return at < text.size() ? static_cast<unsigned char>(text[at++]) : -1; };
  std::string out;
  for (;;) {
    int c = get();
    if (c == -1) return out;
    size_t due = vnk::UuValue(c);
    if (due == 0) return out;
    while (due > 0) {
      uint8_t e = vnk::UuValue(get()), f = vnk::UuValue(get()), g = vnk::UuValue(get()), h = vnk::UuValue(get());
      vnk::fuzz::ExactBytes group(std::string(3, '\0'));
      size_t n = vnk::UuDecodeGroup(e, f, g, h, due, reinterpret_cast<uint8_t*>(group.data()));
      FUZZ_CHECK(n >= 1 && n <= 3 && n == std::min<size_t>(due, 3), "group of %zu for %zu due", n, due);
      out.append(group.data(), n);
      due = due > 3 ? due - 3 : 0;
    }
    get();
  }
}

// The stream through a block coder, in blocks ending at the given cuts (each block and
// each output of exactly its size).
template <class Coder, class Out>
std::string InBlocks(const std::string& in, const std::vector<size_t>& cuts) {
  Coder coder;
  std::string out;
  size_t at = 0;
  for (size_t i = 0; i <= cuts.size(); ++i) {
    size_t cut = i < cuts.size() ? std::max(at, std::min(cuts[i], in.size())) : in.size();
    vnk::fuzz::ExactBytes block(in.substr(at, cut - at));
    vnk::fuzz::ExactBytes room(std::string(Coder::Room(cut - at), '\0'));
    size_t n = coder.Feed(block.bytes(), cut - at, reinterpret_cast<Out*>(room.data()));
    FUZZ_CHECK(n <= Coder::Room(cut - at), "block output %zu", n);
    out.append(room.data(), n);
    at = cut;
  }
  vnk::fuzz::ExactBytes last(std::string(vnk::UU_MAX_LINE_CHARS, '\0'));
  out.append(last.data(), coder.Finish(reinterpret_cast<Out*>(last.data())));
  return out;
}

int CheckInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  bool as_text = in.ConsumeBool();
  std::vector<size_t> cuts;
  for (int i = in.ConsumeIntegralInRange<int>(0, 4); i > 0; --i) cuts.push_back(in.ConsumeIntegralInRange<size_t>(0, 400));
  std::sort(cuts.begin(), cuts.end());
  std::string bytes = in.ConsumeRemainingBytesAsString();
  if (as_text) {
    // Arbitrary characters straight into the decoder.
    std::string out = Decode(bytes);
    FUZZ_CHECK(out.size() <= (bytes.size() + 1) * 63, "more bytes than any line could hold");
    FUZZ_CHECK((InBlocks<vnk::UuDecoder, uint8_t>(bytes, cuts)) == out, "block decoding");
    return 0;
  }
  std::string encoded;
  for (size_t at = 0; at < bytes.size(); at += vnk::UU_LINE_BYTES) {
    size_t n = std::min(vnk::UU_LINE_BYTES, bytes.size() - at);
    uint8_t line[vnk::UU_LINE_BYTES] = {};  // the last group's missing bytes are zeros
    std::memcpy(line, bytes.data() + at, n);
    vnk::fuzz::ExactBytes held(std::string(reinterpret_cast<char*>(line), (n + 2) / 3 * 3));
    char text[vnk::UU_LINE_CHARS];
    size_t len = vnk::UuEncodeLine(held.bytes(), n, text);
    FUZZ_CHECK(len == 2 + 4 * ((n + 2) / 3), "line length %zu for %zu bytes", len, n);
    FUZZ_CHECK(text[0] == static_cast<char>(n + 32) && text[len - 1] == '\n', "line frame");
    for (size_t i = 1; i + 1 < len; ++i) FUZZ_CHECK(text[i] >= 32 && text[i] <= 95, "character %d", text[i]);
    encoded.append(text, len);
  }
  FUZZ_CHECK(Decode(encoded) == bytes, "round trip of %zu bytes", bytes.size());
  FUZZ_CHECK((InBlocks<vnk::UuEncoder, char>(bytes, cuts)) == encoded, "block encoding");
  FUZZ_CHECK((InBlocks<vnk::UuDecoder, uint8_t>(encoded, cuts)) == bytes, "block decoding");
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return vnk::fuzz::UnderBothLevels([&] { CheckInput(data, size); });
}
