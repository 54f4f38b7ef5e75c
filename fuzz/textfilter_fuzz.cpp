// The filters' byte membership: kept bytes against a plain membership test, for both
// choices, into a separate block and in place.
#include "fuzz/fuzz_util.h"
#include "text/filter_kernel.h"

static int CheckInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  bool members = in.ConsumeBool();
  bool in_place = in.ConsumeBool();
  std::string chars = in.ConsumeRandomLengthString(300);
  std::string text = in.ConsumeRemainingBytesAsString();
  vnk::fuzz::ExactBytes set_bytes(chars);
  vnk::ByteSet set = vnk::MakeByteSet(set_bytes.bytes(), chars.size());
  std::string want;
  for (char c : text)
    if ((chars.find(c) != std::string::npos) == members) want.push_back(c);
  vnk::fuzz::ExactBytes block(text);
  size_t got;
  std::string out;
  if (in_place) {
    got = vnk::KeepBytes(set, members, block.bytes(), text.size(), reinterpret_cast<uint8_t*>(block.data()));
    out.assign(block.data(), got);
  } else {
    std::unique_ptr<uint8_t[]> kept(new uint8_t[text.size() ? text.size() : 1]);
    got = vnk::KeepBytes(set, members, block.bytes(), text.size(), kept.get());
    out.assign(reinterpret_cast<char*>(kept.get()), got);
  }
  FUZZ_CHECK(got <= text.size() && out == want, "kept %zu bytes, want %zu", got, want.size());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return vnk::fuzz::UnderBothLevels([&] { CheckInput(data, size); });
}
