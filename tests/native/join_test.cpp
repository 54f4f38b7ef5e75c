// Path joining in a double-byte code page (the single-byte rules are tested through
// cMakePath).
#include <gtest/gtest.h>

#include <string>

#include "paths/join_kernel.h"

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

}  // namespace vnk
