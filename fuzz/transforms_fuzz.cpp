// The block transforms: blanks to TABs and back against a plain reading of the rules,
// both into output blocks of exactly the size promised (so a byte too many trips
// AddressSanitizer), TABs-free blocks surviving compression and expansion unchanged, the
// expansion limit test, ASCII case, and the substitution chain against pairs applied one
// by one.
#include "fuzz/fuzz_util.h"
#include "text/transforms_kernel.h"

namespace {

std::string Compressed(const std::string& in, uint32_t tab) {
  std::string out;
  for (size_t i = 0; i < in.size();) {
    if (in[i] != ' ') {
      out.push_back(in[i++]);
      continue;
    }
    size_t run = 0;
    while (i < in.size() && in[i] == ' ') ++run, ++i;
    out.append(run / tab, '\t').append(run % tab, ' ');
  }
  return out;
}

}  // namespace

static int CheckInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  // Tab sizes the exports hand over: 2 and more, beyond 16 (more than one store of
  // blanks) now and then, and now and then a huge one.
  uint32_t tab = in.ConsumeBool()   ? in.ConsumeIntegralInRange<uint32_t>(2, 12)
                 : in.ConsumeBool() ? in.ConsumeIntegralInRange<uint32_t>(13, 100)
                                    : in.ConsumeIntegralInRange<uint32_t>(2, 0x7FFFFFFF);
  size_t pairs = in.ConsumeIntegralInRange<size_t>(0, 300);
  std::string from = in.ConsumeBytesAsString(pairs), to = in.ConsumeBytesAsString(pairs);
  pairs = std::min(from.size(), to.size());
  std::string text = in.ConsumeRemainingBytesAsString();
  if (text.size() > vnk::fuzz::kMaxBlock) text.resize(vnk::fuzz::kMaxBlock);
  vnk::fuzz::ExactBytes block(text);
  const size_t n = text.size();

  // Compression never grows a block.
  {
    std::unique_ptr<uint8_t[]> out(new uint8_t[n ? n : 1]);
    size_t got = vnk::CompressBlanks(block.bytes(), n, out.get(), tab);
    std::string want = Compressed(text, tab);
    FUZZ_CHECK(got == want.size() && std::memcmp(out.get(), want.data(), got) == 0, "compression, tab %u", tab);
    // Without TABs of its own, a block comes back from compression and expansion whole.
    if (text.find('\t') == std::string::npos) {
      size_t tabs = vnk::CountTabs(out.get(), got);
      if (vnk::ExpansionFits(got, tabs, tab)) {
        size_t room = got - tabs + tabs * tab;
        std::unique_ptr<uint8_t[]> back(new uint8_t[room ? room : 1]);
        size_t len = vnk::ExpandTabs(out.get(), got, tabs, back.get(), tab);
        FUZZ_CHECK(len == n && std::memcmp(back.get(), text.data(), n) == 0, "round trip, tab %u", tab);
      }
    }
  }

  // Expansion into exactly the room it needs, and only when the limit test allows it.
  {
    size_t tabs = vnk::CountTabs(block.bytes(), n);
    FUZZ_CHECK(tabs == static_cast<size_t>(std::count(text.begin(), text.end(), '\t')), "TAB count");
    bool fits = vnk::ExpansionFits(n, tabs, tab);
    FUZZ_CHECK(fits == (static_cast<uint64_t>(n) + static_cast<uint64_t>(tab) * tabs <= vnk::EXPAND_LIMIT), "limit");
    if (fits) {
      size_t room = n - tabs + tabs * tab;
      FUZZ_CHECK(room <= vnk::EXPAND_LIMIT, "expansion beyond its block");
      std::unique_ptr<uint8_t[]> out(new uint8_t[room ? room : 1]);
      size_t got = vnk::ExpandTabs(block.bytes(), n, tabs, out.get(), tab);
      std::string want;
      for (char c : text) {
        if (c == '\t') want.append(tab, ' ');
        else want.push_back(c);
      }
      FUZZ_CHECK(got == want.size() && std::memcmp(out.get(), want.data(), got) == 0, "expansion");
    }
  }

  // Case: only the 26 ASCII letters move.
  {
    std::string up = text, low = text;
    vnk::UpperAscii(reinterpret_cast<uint8_t*>(up.data()), n);
    vnk::LowerAscii(reinterpret_cast<uint8_t*>(low.data()), n);
    for (size_t i = 0; i < n; ++i) {
      unsigned char c = static_cast<unsigned char>(text[i]);
      FUZZ_CHECK(static_cast<unsigned char>(up[i]) == ((c >= 'a' && c <= 'z') ? c - 32 : c), "upper at %zu", i);
      FUZZ_CHECK(static_cast<unsigned char>(low[i]) == ((c >= 'A' && c <= 'Z') ? c + 32 : c), "lower at %zu", i);
    }
  }

  // The substitution chain: each byte through every pair, in order, without stopping.
  {
    vnk::ByteMap map = vnk::SubstitutionMap(reinterpret_cast<const uint8_t*>(from.data()),
                                            reinterpret_cast<const uint8_t*>(to.data()), pairs);
    std::string got = text;
    vnk::ApplyMap(map, reinterpret_cast<uint8_t*>(got.data()), n);
    for (size_t i = 0; i < n; ++i) {
      char c = text[i];
      for (size_t p = 0; p < pairs; ++p)
        if (c == from[p]) c = to[p];
      FUZZ_CHECK(got[i] == c, "substitution at %zu", i);
    }
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return vnk::fuzz::UnderBothLevels([&] { CheckInput(data, size); });
}
