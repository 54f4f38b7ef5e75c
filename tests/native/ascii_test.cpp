// The ASCII case rule: only the 26 letters change, comparisons fold to lower case.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frame/ascii_kernel.h"

namespace vnk {

TEST(Ascii, OnlyTheTwentySixLettersChange) {
  const char* upper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  const char* lower = "abcdefghijklmnopqrstuvwxyz";
  for (int c = 0; c < 256; ++c) {
    auto b = static_cast<unsigned char>(c);
    const char* u = c != 0 ? std::strchr(upper, c) : nullptr;
    const char* l = c != 0 ? std::strchr(lower, c) : nullptr;
    EXPECT_EQ(FoldAscii(b), u ? static_cast<unsigned char>(lower[u - upper]) : b) << c;
    EXPECT_EQ(UpperAscii(b), l ? static_cast<unsigned char>(upper[l - lower]) : b) << c;
    EXPECT_EQ(IsAsciiLetter(b), u != nullptr || l != nullptr) << c;
    EXPECT_EQ(kFoldedAscii[b], FoldAscii(b)) << c;
  }
}

TEST(Ascii, Comparisons) {
  EXPECT_TRUE(SameNameIgnoringCase("Report.TXT", "rEPORT.txt"));
  EXPECT_FALSE(SameNameIgnoringCase("abc", "abcd"));
  EXPECT_FALSE(SameNameIgnoringCase("abcd", "abc"));
  EXPECT_FALSE(SameNameIgnoringCase("\xC4", "\xE4"));  // no letters above 0x7F
  EXPECT_TRUE(SameNameIgnoringCase("", ""));
  EXPECT_TRUE(SameBytesIgnoringCase("A\0B", "a\0b", 3));
  EXPECT_FALSE(SameBytesIgnoringCase("A\0B", "a\0c", 3));
  // Folding goes to lower case: "_" (0x5F) sorts before "a" though after "A".
  EXPECT_LT(CompareIgnoringCase("A_", "Aa"), 0);
  EXPECT_GT(CompareIgnoringCase("\x80", "z"), 0);  // unsigned bytes
  EXPECT_LT(CompareIgnoringCase("ab", "ABC"), 0);
  EXPECT_EQ(CompareIgnoringCase("MiXeD", "mixed"), 0);
}

}  // namespace vnk
