// Path joining in a double-byte code page (the single-byte rules are tested through
// cMakePath).
#include <gtest/gtest.h>

#include <string>

#include "paths/join_kernel.h"
#include "tests/native/exact_block.h"

namespace vnk {
namespace {

std::string Join(std::string_view d, std::string_view dir, std::string_view n, std::string_view e,
                 const LeadBytes& lead = SingleByteCodePage()) {
  char out[260];
  int len = JoinPath(d, dir, n, e, lead, out, sizeof out);
  if (len < 0) return "<refused>";
  EXPECT_EQ(std::string(out).size(), static_cast<size_t>(len));
  return out;
}

}  // namespace

TEST(JoinPath, TrailByteIsNoSeparator) {
  LeadBytes sjis{};
  for (int b = 0x81; b <= 0x9F; ++b) sjis[b] = true;
  // 0x95 0x5C is one double-byte character: the directory does not end in "\".
  EXPECT_EQ(Join("", "A\x95\\", "N", "", sjis), "A\x95\\\\N");
  EXPECT_EQ(Join("", "A\x95\\\\", "N", "", sjis), "A\x95\\\\N");
  EXPECT_EQ(Join("", "A\x95\\", "N", ""), "A\x95\\N");  // single-byte: it is a "\"
  EXPECT_TRUE(EndsWithChar("\\", "\\", sjis));
  EXPECT_FALSE(EndsWithChar("", "\\", sjis));
  EXPECT_FALSE(EndsWithChar("\x95", "\\", sjis));  // a lone lead byte at the end is itself
}

// Every capacity from nothing to more than enough, in a heap block of exactly that size:
// the joined path and its terminator fit exactly from length + 1 on, and below that the
// join is refused without a byte written past the block.
TEST(JoinPath, EveryCapacityIntoAnExactBlock) {
  struct Parts {
    const char *drive, *dir, *name, *ext;
    const char* joined;
  } cases[] = {
      {"C", "DATA", "report", "txt", "C:DATA\\report.txt"},
      {"", "", "x", "", "x"},
      {"", "", "", "", ""},
      {"D:", "a\\b\\", "n", ".e", "D:a\\b\\n.e"},
  };
  for (const Parts& p : cases) {
    const size_t len = std::string(p.joined).size();
    for (size_t capacity = 0; capacity <= len + 2; ++capacity) {
      ExactBlock out(capacity);
      int got = JoinPath(p.drive, p.dir, p.name, p.ext, SingleByteCodePage(), out.chars(), capacity);
      if (capacity > len) {
        ASSERT_EQ(got, static_cast<int>(len)) << p.joined << " in " << capacity;
        EXPECT_EQ(out.str(len + 1), std::string(p.joined, len + 1)) << capacity;
      } else {
        ASSERT_EQ(got, -1) << p.joined << " in " << capacity;
        if (capacity > 0) EXPECT_EQ(out.chars()[0], '\0') << capacity;
      }
    }
  }
}

}  // namespace vnk
