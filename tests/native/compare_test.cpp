// Block comparison of the content comparison.
#include <gtest/gtest.h>

#include <string>

#include "files/compare_kernel.h"

namespace vnk {
namespace {
bool Match(const std::string& a, const std::string& b, bool exact) {
  return BlocksMatch(reinterpret_cast<const unsigned char*>(a.data()),
                     reinterpret_cast<const unsigned char*>(b.data()), a.size(), exact);
}
}  // namespace

TEST(BlocksMatch, FoldsOnlyAsciiLetters) {
  EXPECT_TRUE(Match("Hello, World", "hELLO, wORLD", false));
  EXPECT_FALSE(Match("Hello, World", "hELLO, wORLD", true));
  EXPECT_FALSE(Match("[", "{", false));  // 0x5B and 0x7B differ by 32 but are not letters
  EXPECT_FALSE(Match("@", "`", false));
  EXPECT_FALSE(Match("\xC9", "\xE9", false));  // bytes from 0x80 up are never letters
}

TEST(BlocksMatch, EveryByteCountsPastAZero) {
  std::string a("ab\0cd", 5), b("ab\0cX", 5);
  EXPECT_FALSE(Match(a, b, true));
  EXPECT_FALSE(Match(a, b, false));
}

TEST(BlocksMatch, DifferenceAtEveryPositionAndTail) {
  std::string base(37, 'q');
  for (size_t i = 0; i < base.size(); ++i) {
    std::string other = base;
    other[i] = 'Q';
    EXPECT_TRUE(Match(base, other, false)) << i;
    EXPECT_FALSE(Match(base, other, true)) << i;
    other[i] = 'r';
    EXPECT_FALSE(Match(base, other, false)) << i;
  }
  EXPECT_TRUE(Match("", "", false));
}

}  // namespace vnk
