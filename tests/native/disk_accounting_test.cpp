// Drive roots, allocation in whole clusters, the slack percentage, the walks' pattern.
#include <gtest/gtest.h>

#include <string>

#include "disk/accounting_kernel.h"
#include "disk/root_kernel.h"

namespace vnk {

TEST(DriveRoot, LooseDriveArguments) {
  EXPECT_STREQ(DriveRoot("").text, "");
  EXPECT_STREQ(DriveRoot("C").text, "C:\\");
  EXPECT_STREQ(DriveRoot("c:").text, "c:\\");
  EXPECT_STREQ(DriveRoot("C:\\ANY\\PATH").text, "C:\\");
  EXPECT_STREQ(DriveRoot("\\\\SERVER\\SHARE").text, "\\\\S");
  EXPECT_STREQ(DriveRoot("Q?").text, "Q?\\");  // nothing is checked
}

TEST(Allocation, WholeClusters) {
  EXPECT_EQ(Allocation(1, 4096), 4096);
  EXPECT_EQ(Allocation(4096, 4096), 4096);
  EXPECT_EQ(Allocation(4097, 4096), 8192);
  EXPECT_EQ(Allocation(0, 4096), 0);
  EXPECT_EQ(Allocation(5368709121ull, 4096), 5368709120.0 + 4096);  // beyond 32 bits
  EXPECT_EQ(Allocation(0xFFFFFFFFFFFFFFFFull, 512), 18446744073709551616.0);
  // No usable cluster size: nothing allocated, whatever the size.
  EXPECT_EQ(Allocation(100, 0), 0);
  EXPECT_EQ(Allocation(100, -1), 0);
}

TEST(SlackPercent, TruncatedTowardZero) {
  double size = 1 + 4096 + 4097 + 0;
  double alloc = Allocation(1, 4096) + Allocation(4096, 4096) + Allocation(4097, 4096) + Allocation(0, 4096);
  EXPECT_EQ(size, 8194);
  EXPECT_EQ(alloc, 16384);
  EXPECT_EQ(SlackPercent(size, alloc), 49);
  EXPECT_EQ(SlackPercent(0, 0), -1);
  EXPECT_EQ(SlackPercent(4096, 4096), 0);
  EXPECT_EQ(SlackPercent(1, 4096), 99);
  // 99.9999999 rounds to 100 in single precision before the truncation.
  EXPECT_EQ(SlackPercent(1, 2e9), 100);
}

TEST(WalkPattern, LettersMatchInEitherCase) {
  char out[SCAN_PATTERN_CHARS + 1];
  ASSERT_TRUE(FoldedPattern("*.TXT", out));
  EXPECT_STREQ(out, "*.txt");
  ASSERT_TRUE(FoldedPattern("A\xC4Z?{[@", out));  // only A-Z fold: not 0xC4, "[", "@"
  EXPECT_STREQ(out, "a\xC4z?{[@");
  ASSERT_TRUE(FoldedPattern(std::string(255, 'X').c_str(), out));
  EXPECT_FALSE(FoldedPattern(std::string(256, 'x').c_str(), out));
  EXPECT_STREQ(out, "");

  ASSERT_TRUE(FoldedPattern("*.Txt", out));
  for (const char* name : {"readme.txt", "README.TXT", "ReadMe.tXt", ".txt"}) EXPECT_TRUE(WalkNameMatches(name, out)) << name;
  for (const char* name : {"readme.tx", "readme.txt.bak", "readme_txt"}) EXPECT_FALSE(WalkNameMatches(name, out)) << name;
  // Bytes from 0x80 up are no letters: 0xE4 and 0xC4 stay different.
  ASSERT_TRUE(FoldedPattern("\xE4?", out));
  EXPECT_TRUE(WalkNameMatches("\xE4" "B", out));
  EXPECT_FALSE(WalkNameMatches("\xC4" "B", out));
  // "[" and "{" differ by the same 0x20 as letters do, yet are no letters.
  ASSERT_TRUE(FoldedPattern("[", out));
  EXPECT_FALSE(WalkNameMatches("{", out));
  // The empty pattern takes every name; "?" is still exactly one character.
  ASSERT_TRUE(FoldedPattern("", out));
  EXPECT_TRUE(WalkNameMatches("anything", out));
  ASSERT_TRUE(FoldedPattern("A?", out));
  EXPECT_FALSE(WalkNameMatches("a", out));
}

}  // namespace vnk
