// The shared path rules: length limits, wildcards and bare drives, roots, folder parts.
#include <gtest/gtest.h>

#include <string>

#include "paths/rules_kernel.h"

namespace vnk {
namespace {

// A code page in which 0x81 begins a double-byte character.
LeadBytes LeadAt81() {
  LeadBytes t{};
  t[0x81] = true;
  return t;
}

}  // namespace

TEST(PathRules, LengthLimitsCountCharactersNotBuffers) {
  EXPECT_TRUE(FitsPathBuffer(std::string(259, 'a').c_str()));
  EXPECT_FALSE(FitsPathBuffer(std::string(260, 'a').c_str()));
  EXPECT_TRUE(FitsNameBuffer(std::string(255, 'a').c_str()));
  EXPECT_FALSE(FitsNameBuffer(std::string(256, 'a').c_str()));
  EXPECT_TRUE(FitsPathBuffer(""));
  EXPECT_TRUE(FitsChars("abc", 3));
  EXPECT_FALSE(FitsChars("abc", 2));
}

TEST(PathRules, StatusQueryRefusesWildcardsAndBareDrives) {
  for (const char* refused : {"a*b", "C:\\x?.txt", "*", "C:", "c:", "1:"}) EXPECT_TRUE(StatusQueryRefuses(refused)) << refused;
  for (const char* taken : {"", "C", "C:\\", "C:x", "abc", "\\\\s\\h"}) EXPECT_FALSE(StatusQueryRefuses(taken)) << taken;
  EXPECT_TRUE(IsBareDrive(std::string_view("C:\\DATA", 2)));
  EXPECT_FALSE(IsBareDrive(std::string_view("C:\\DATA", 3)));
}

TEST(PathRules, Roots) {
  for (const char* root : {"C:\\", "C:/", "\\\\srv\\share", "\\\\srv\\share\\", "\\\\a\\b", "\\\\a\\b\\"}) EXPECT_TRUE(IsRoot(root)) << root;
  for (const char* other : {"C:", "C:\\x", "\\\\srv", "\\\\\\share", "\\\\srv\\\\", "\\\\srv\\share\\x", "", "\\\\a", "\\\\a\\", "\\\\a\\b\\c"})
    EXPECT_FALSE(IsRoot(other)) << other;
}

TEST(PathRules, FolderParts) {
  const LeadBytes& sb = SingleByteCodePage();
  // Through the last backslash only: a drive or a forward slash is no folder part.
  EXPECT_EQ(FolderPartLength("C:\\DATA\\*.*", sb), 8u);
  EXPECT_EQ(FolderPartLength("*.*", sb), 0u);
  EXPECT_EQ(FolderPartLength("C:*.*", sb), 0u);
  EXPECT_EQ(FolderPartLength("a/b\\c/d*", sb), 4u);
  // As the path split reads it: the drive and forward slashes count.
  EXPECT_EQ(DriveAndFolderLength("C:*.*", sb), 2u);
  EXPECT_EQ(DriveAndFolderLength("a/b\\c/d*", sb), 6u);
  EXPECT_EQ(DriveAndFolderLength("C:\\DATA\\*.*", sb), 8u);
  EXPECT_EQ(DriveAndFolderLength("x", sb), 0u);
  EXPECT_EQ(TrimmedFolderLength("C:\\DATA\\\\", sb), 7u);
  EXPECT_EQ(TrimmedFolderLength("\\\\\\", sb), 0u);
  EXPECT_EQ(TrimmedFolderLength("", sb), 0u);
}

TEST(PathRules, TrailBytesAreNeverSeparators) {
  LeadBytes lead = LeadAt81();
  EXPECT_EQ(FolderPartLength("A\\\x81\\x*", lead), 2u);
  EXPECT_EQ(FolderPartLength("A\\\x81\\x*", SingleByteCodePage()), 4u);
  EXPECT_EQ(DriveAndFolderLength("\x81\\x", lead), 0u);
  EXPECT_EQ(TrimmedFolderLength("D\\\x81\\", lead), 4u);
  EXPECT_EQ(TrimmedFolderLength("D\\\x81\\", SingleByteCodePage()), 3u);
  // A lead byte at the very end stands alone.
  EXPECT_EQ(TrimmedFolderLength("D\x81", lead), 2u);
  EXPECT_EQ(FolderPartLength("D\\\x81", lead), 2u);
}

}  // namespace vnk
