// The tree walk's sort order over real slot tables, and its entry rule.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "scan/walk_kernel.h"

namespace vnk {
namespace {

std::vector<std::string> Sorted(const std::vector<std::string>& paths) {
  std::vector<char> table(WALK_TABLE_BYTES, '\0');
  for (size_t i = 0; i < paths.size(); ++i) strcpy(&table[i * WALK_SLOT_SIZE], paths[i].c_str());
  SortSlots(table.data(), paths.size());
  std::vector<std::string> out;
  for (size_t i = 0; i < paths.size(); ++i) out.push_back(&table[i * WALK_SLOT_SIZE]);
  return out;
}

using V = std::vector<std::string>;

TEST(WalkSort, BackslashBetweenDotAndLetters) {
  EXPECT_EQ(Sorted({"AB", "A\\B", "A.B", "A"}), (V{"A", "A.B", "A\\B", "AB"}));
  // Letters fold to lower case, so "_" (0x5F) and "[" sort around the backslash as
  // their bytes say, against letters of either case.
  EXPECT_EQ(Sorted({"a_", "A\\x", "A[", "Ab", "A]"}), (V{"A[", "A\\x", "A]", "a_", "Ab"}));
}

TEST(WalkSort, FoldersBeforeTheirDescendants) {
  EXPECT_EQ(Sorted({"C:\\T\\B", "C:\\T\\a\\x", "C:\\T\\a"}), (V{"C:\\T\\a", "C:\\T\\a\\x", "C:\\T\\B"}));
  EXPECT_EQ(Sorted({"T\\Z\\y", "T\\z.old", "T\\Z", "T\\Z\\Y\\q"}), (V{"T\\Z", "T\\z.old", "T\\Z\\y", "T\\Z\\Y\\q"}));
}

TEST(WalkSort, BytesAboveAsciiAreUnsignedAndNotFolded) {
  EXPECT_EQ(Sorted({"\xC4", "z", "\xE4", "Z1"}), (V{"z", "Z1", "\xC4", "\xE4"}));
}

TEST(WalkSort, CaseOnlyDifferencesStillOrderTotally) {
  EXPECT_LT(WalkCompare("a\\B", "a\\b"), 0);
  EXPECT_GT(WalkCompare("a\\b", "a\\B"), 0);
  EXPECT_EQ(WalkCompare("same", "same"), 0);
  EXPECT_LT(WalkCompare("ab", "ABC"), 0);
}

TEST(WalkEntries, OnlySelfAndParentAreDropped) {
  EXPECT_TRUE(IsSelfOrParent("."));
  EXPECT_TRUE(IsSelfOrParent(".."));
  for (const char* kept : {"...", ".git", "..x", "a.", "x"}) EXPECT_FALSE(IsSelfOrParent(kept)) << kept;
}

}  // namespace
}  // namespace vnk
