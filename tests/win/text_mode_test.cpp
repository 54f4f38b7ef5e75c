// The text-mode exports read and write files by the runtime's text-mode rules: CR LF
// read as "\n", a lone CR kept, Ctrl-Z ending the input, "\n" written as CR LF. Random
// files dense in CR, LF, Ctrl-Z and NUL, across the library's block and buffer
// boundaries, must come out byte for byte as those rules (and msvcrt's own "wt" stream
// for the writing side) say.
#include <algorithm>
#include <random>

#include "tests/win/harness.h"

namespace vnk::test {
namespace {

// The text-mode view of a file's bytes: CR LF read as "\n", a CR before anything else
// kept, the first Ctrl-Z ending the input. (Written out rather than read through the
// runtime here: Wine's own text-mode reads let a Ctrl-Z straight after a CR through
// when the read size is small, so they are no reference for that case.)
std::string TextModeRead(const std::string& bytes) {
  std::string s;
  for (size_t i = 0; i < bytes.size() && bytes[i] != '\x1A'; ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    s += bytes[i];
  }
  return s;
}

std::string TextModeWritten(const std::string& path, const std::string& text) {
  FILE* f = fopen(path.c_str(), "wt");
  fwrite(text.data(), 1, text.size(), f);
  fclose(f);
  return *ReadBytes(path);
}

// Bytes drawn mostly from the ones text mode treats specially.
std::string TextModeNoise(size_t n, std::mt19937& gen) {
  static const char kAlphabet[] = "\r\r\n\n\naab\0\x1A zZ";
  std::string s(n, '\0');
  for (char& c : s) c = kAlphabet[gen() % (sizeof kAlphabet - 1)];
  // Ctrl-Z ends the input early; keep most files long by making it rare.
  for (char& c : s)
    if (c == '\x1A' && gen() % 64 != 0) c = 'q';
  return s;
}

class TextMode : public ::testing::Test {
 protected:
  TempDir dir;
  std::mt19937 gen{20261208};
  // Sizes around the block and stream-buffer boundaries the exports may use.
  std::vector<size_t> Sizes() {
    std::vector<size_t> sizes = {0, 1, 2, 4095, 4096, 4097, 32767, 32768, 32769, 65535, 65536, 65537};
    for (int i = 0; i < 12; ++i) sizes.push_back(gen() % 140000);
    return sizes;
  }
};

// The replacement as the runtime's text-mode read and write make it: raw blocks for a
// search text without CR and LF, the text view for one with them, a LF in the
// replacement written as CR LF; also past the 1 MB blocks of the reads, with no Ctrl-Z
// to end the text early. The bytes from the first Ctrl-Z on are no text, but they are
// the file's: they follow the rewritten text unchanged, and count as written.
TEST_F(TextMode, ReplacementRewritesAsTheRuntimeDoes) {
  struct Case {
    const char* text;
    const char* replacement;
  };
  const Case cases[] = {{"#~#", "x"}, {"a", "b\n"}, {"\r", "<>"}, {"\n", "Z\n"}};
  std::vector<size_t> sizes = Sizes();
  for (size_t big : {(size_t{1} << 20) - 1, size_t{1} << 20, (size_t{1} << 20) + 1}) sizes.push_back(big);
  for (size_t size : sizes) {
    std::string bytes = TextModeNoise(size, gen);
    if (size >= (size_t{1} << 20) - 1) std::replace(bytes.begin(), bytes.end(), '\x1A', 'q');
    for (const Case& c : cases) {
      WriteBytes(dir / "in", bytes);
      std::string text;
      for (char b : TextModeRead(bytes)) text += b == c.text[0] && c.text[1] == '\0' ? c.replacement : std::string(1, b);
      const size_t z = bytes.find('\x1A');
      const std::string tail = z == std::string::npos ? std::string() : bytes.substr(z);
      std::string expected = TextModeWritten(dir / "ref", text) + tail;
      std::string work = dir / "work.tmp";
      int32_t r = dll().cFileSearchAndReplace((dir / "in").c_str(), c.text, c.replacement, work.c_str(), HostInt(-1));
      EXPECT_EQ(r, static_cast<int32_t>(text.size() + tail.size())) << size << " [" << c.text << "]";
      EXPECT_TRUE(ReadBytes(dir / "in") == std::optional<std::string>(expected)) << size << " [" << c.text << "]";
    }
  }
}

TEST_F(TextMode, SearchCountsWhatTheRuntimeReads) {
  for (size_t size : Sizes()) {
    std::string bytes = TextModeNoise(size, gen);
    WriteBytes(dir / "in", bytes);
    std::string text = TextModeRead(bytes);
    for (const char* needle : {"a", "\n", "Z"}) {
      int32_t expected = static_cast<int32_t>(std::count(text.begin(), text.end(), needle[0]));
      EXPECT_EQ(dll().cFileSearchCount((dir / "in").c_str(), needle, HostInt(-1)), expected)
          << size << " [" << needle << "]";
    }
  }
}

TEST_F(TextMode, SortedLinesAreTheRuntimesLines) {
  for (size_t size : Sizes()) {
    std::string bytes = TextModeNoise(size, gen);
    WriteBytes(dir / "in", bytes);
    std::string text = TextModeRead(bytes);
    // Every line keeps its "\n", which takes part in the comparison; a last line
    // without one gets one.
    std::vector<std::string> lines;
    for (size_t at = 0; at < text.size();) {
      size_t end = text.find('\n', at);
      end = end == std::string::npos ? text.size() : end + 1;
      lines.push_back(text.substr(at, end - at));
      if (lines.back().back() != '\n') lines.back() += '\n';
      at = end;
    }
    std::sort(lines.begin(), lines.end());
    std::string joined;
    for (const std::string& l : lines) joined += l;
    std::string expected = TextModeWritten(dir / "ref", joined);
    int32_t count = 0;
    int32_t r = dll().cFileSort((dir / "in").c_str(), (dir / "out").c_str(), HostInt(1), 0, 0, 0, &count);
    EXPECT_EQ(count, static_cast<int32_t>(lines.size())) << size;
    EXPECT_EQ(r, static_cast<int32_t>(expected.size())) << size;
    EXPECT_EQ(ReadBytes(dir / "out"), expected) << size;
  }
}

}  // namespace
}  // namespace vnk::test
