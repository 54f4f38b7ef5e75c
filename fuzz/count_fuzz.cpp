// Line and word counting: CR and LF counts against plain counting, and the word count
// the same however the file is cut into blocks (a word split by a block boundary counts
// once), matching a plain reading of the word rule.
#include "fuzz/fuzz_util.h"
#include "text/count_kernel.h"

static int CheckInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  std::vector<size_t> cuts;
  for (int i = in.ConsumeIntegralInRange<int>(0, 8); i > 0; --i) cuts.push_back(in.ConsumeIntegral<uint16_t>());
  std::string text = in.ConsumeRemainingBytesAsString();
  vnk::fuzz::ExactBytes file(text);
  const uint8_t* bytes = file.bytes();

  FUZZ_CHECK(vnk::CountByte(bytes, text.size(), '\r') == static_cast<size_t>(std::count(text.begin(), text.end(), '\r')),
             "CR count");

  uint64_t lines = 0, words = 0;
  bool inside = false;
  for (unsigned char c : text) {
    bool brk = c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == ' ';
    FUZZ_CHECK(vnk::IsWordBreak(c) == brk, "class of %u", c);
    if (c == '\n') ++lines;
    if (!brk && !inside) ++words;
    inside = !brk;
  }

  // The same file in blocks cut at the given places.
  std::sort(cuts.begin(), cuts.end());
  vnk::WordCounter counter;
  size_t at = 0;
  for (size_t cut : cuts) {
    cut = std::min(cut, text.size());
    if (cut < at) continue;
    vnk::fuzz::ExactBytes piece(text.substr(at, cut - at));
    counter.Feed(piece.bytes(), cut - at);
    at = cut;
  }
  vnk::fuzz::ExactBytes rest(text.substr(at));
  counter.Feed(rest.bytes(), text.size() - at);
  FUZZ_CHECK(counter.lines() == lines, "lines %llu, want %llu", (unsigned long long)counter.lines(),
             (unsigned long long)lines);
  FUZZ_CHECK(counter.words() == words, "words %llu, want %llu", (unsigned long long)counter.words(),
             (unsigned long long)words);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return vnk::fuzz::UnderBothLevels([&] { CheckInput(data, size); });
}
