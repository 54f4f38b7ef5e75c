// The text-mode read over blocks against the byte rule, for any cut of the input into
// blocks (a CR LF pair split between two reads included).
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "text/textmode_kernel.h"

namespace vnk {
namespace {

// The rule, one byte at a time.
std::string TextOf(const std::string& raw) {
  std::string text;
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\x1A') break;
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    text += raw[i];
  }
  return text;
}

// Feeds raw in blocks of the given sizes as a reader does: a held-back CR goes in
// front of the next block.
std::string TextInBlocks(const std::string& raw, std::mt19937& gen, size_t most) {
  std::string text, pending;
  size_t at = 0;
  for (;;) {
    size_t take = std::min(raw.size() - at, 1 + gen() % most);
    std::string block = pending + raw.substr(at, take);
    at += take;
    bool last = at == raw.size();
    TextModeStep step = TextModeInPlace(block.data(), block.size(), last);
    text.append(block, 0, step.length);
    if (step.stop || last) return text;
    pending = block.substr(step.used);  // nothing, or the CR held back
    EXPECT_LE(pending.size(), 1u);
  }
}

TEST(TextMode, AnyCutGivesTheByteRule) {
  std::mt19937 gen(21);
  for (int round = 0; round < 300; ++round) {
    std::string raw(gen() % 200, '\0');
    for (char& c : raw) c = "ab\r\n\r\x1A"[gen() % (round % 3 == 0 ? 6 : 5)];
    EXPECT_EQ(TextInBlocks(raw, gen, 1 + round % 17), TextOf(raw)) << round;
  }
}

TEST(TextMode, EdgesOfTheRule) {
  std::mt19937 gen(22);
  for (const char* raw : {"a\r", "\r\r\n", "\r\n\r\n", "a\r\x1A\n", "\x1A\r\n", "ab\r\nc\x1A\x1A"})
    EXPECT_EQ(TextInBlocks(raw, gen, 1), TextOf(raw)) << raw;
  EXPECT_EQ(TextOf("a\r\r\nb\r"), "a\r\nb\r");
}

}  // namespace
}  // namespace vnk
