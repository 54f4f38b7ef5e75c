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

TEST(UpperPattern, RaisesAsciiLettersOnly) {
  char out[SCAN_PATTERN_CHARS + 1];
  ASSERT_TRUE(UpperPattern("*.txt", out));
  EXPECT_STREQ(out, "*.TXT");
  ASSERT_TRUE(UpperPattern("a\xE4z?{", out));
  EXPECT_STREQ(out, "A\xE4Z?{");
  EXPECT_FALSE(UpperPattern(std::string(256, 'x').c_str(), out));
  EXPECT_STREQ(out, "");
}

}  // namespace vnk
