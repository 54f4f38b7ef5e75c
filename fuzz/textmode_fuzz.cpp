// The text-mode view of raw blocks: any bytes, cut into blocks anywhere and fed as the
// readers feed them (a held-back CR goes in front of the next block), give the text a
// plain reading of the rule gives: CR LF is LF, any other CR stays, 0x1A ends the text.
#include "fuzz/fuzz_util.h"
#include "text/textmode_kernel.h"

namespace {

std::string TextOf(const std::string& raw) {
  std::string text;
  for (size_t i = 0; i < raw.size() && raw[i] != '\x1A'; ++i) {
    bool pair = raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n';
    text += pair ? '\n' : raw[i];
    i += pair;
  }
  return text;
}

int CheckInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  std::vector<size_t> cuts;
  for (int i = in.ConsumeIntegralInRange<int>(0, 6); i > 0; --i) cuts.push_back(in.ConsumeIntegralInRange<size_t>(0, 300));
  std::sort(cuts.begin(), cuts.end());
  const std::string raw = in.ConsumeRemainingBytesAsString();
  cuts.push_back(raw.size());

  std::string text, carry;
  size_t at = 0;
  for (size_t cut : cuts) {
    cut = std::max(at, std::min(cut, raw.size()));
    const bool last = cut == raw.size();
    vnk::fuzz::ExactBytes block(carry + raw.substr(at, cut - at));
    vnk::TextModeStep step = vnk::TextModeInPlace(block.data(), block.size(), last);
    FUZZ_CHECK(step.length <= step.used && step.used <= block.size(), "step %zu of %zu", step.length, step.used);
    FUZZ_CHECK(step.stop || step.used == block.size() || (!last && step.used + 1 == block.size()), "bytes taken");
    text.append(block.data(), step.length);
    if (step.stop) break;
    carry.assign(block.data() + step.used, block.size() - step.used);
    at = cut;
    if (last) break;
  }
  FUZZ_CHECK(text == TextOf(raw), "text of %zu bytes", raw.size());
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return vnk::fuzz::UnderBothLevels([&] { CheckInput(data, size); });
}
