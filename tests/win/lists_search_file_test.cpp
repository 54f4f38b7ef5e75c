// cSearchFile: depth-first order with each folder's own matches first, the result file's
// exact lines, the current directory given back, and the names it does not walk.
#include "tests/win/harness.h"

namespace vnk::test {
namespace {

// The expected result lines, found with absolute paths and no change of directory.
void ExpectedLines(const std::string& dir, const std::string& pattern, std::string* out, int* count) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\" + pattern).c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = fd.cFileName;
      if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name.back() == '.') continue;
      *out += dir + "\\" + name + "\r\n";
      ++*count;
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  h = FindFirstFileA((dir + "\\*.*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = fd.cFileName;
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name == "." || name == "..") continue;
    ExpectedLines(dir + "\\" + name, pattern, out, count);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
}

class Search : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(tree / "a.txt", "");
    WriteBytes(tree / "b.dat", "");
    WriteBytes(tree / "hidden.txt", "");
    ASSERT_TRUE(SetFileAttributesA((tree / "hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
    MakeDir(tree / "sub1");
    WriteBytes(tree / "sub1\\c.txt", "");
    MakeDir(tree / "sub1\\deep");
    WriteBytes(tree / "sub1\\deep\\d.txt", "");
    MakeDir(tree / "sub2");
    WriteBytes(tree / "sub2\\e.txt", "");
    WriteBytes(tree / "sub2\\f.TXT", "");
    // A folder whose name fits the pattern is walked but never listed.
    MakeDir(tree / "folder.txt");
    WriteBytes(tree / "folder.txt\\g.txt", "");
  }
  TempDir tree, out;
};

TEST_F(Search, DepthFirstWithEachFoldersOwnMatchesFirst) {
  std::string expect;
  int count = 0;
  ExpectedLines(tree.path(), "*.txt", &expect, &count);
  ASSERT_EQ(count, 7);
  std::string result = out / "found.txt";
  WriteBytes(result, std::string(5000, 'x'));  // an existing result file is truncated
  std::string cwd = CurrentDir();
  EXPECT_EQ(dll().cSearchFile(tree.path().c_str(), "*.txt", result.c_str()), 7);
  EXPECT_EQ(ReadBytes(result), expect);
  EXPECT_EQ(CurrentDir(), cwd);
  // The start folder's own matches come first.
  std::string head = expect.substr(0, expect.find("\\sub"));
  EXPECT_NE(head.find("a.txt\r\n"), std::string::npos);

  // Without a result file the count is the same and nothing is written.
  EXPECT_EQ(dll().cSearchFile(tree.path().c_str(), "*.txt", ""), 7);
  EXPECT_EQ(dll().cSearchFile(tree.path().c_str(), "*.*", ""), 8);
  EXPECT_EQ(dll().cSearchFile(tree.path().c_str(), "d.txt", ""), 1);
  EXPECT_EQ(dll().cSearchFile(tree.path().c_str(), "*.none", ""), 0);
}

TEST_F(Search, RelativeStartAndResultFile) {
  CurrentDirScope cwd(out.path());
  std::string expect;
  int count = 0;
  ExpectedLines(tree.path() + "\\sub1", "*.txt", &expect, &count);
  std::string rel = "..\\" + tree.path().substr(tree.path().rfind('\\') + 1) + "\\sub1";
  // The result file is opened relative to the caller's directory, before the walk.
  EXPECT_EQ(dll().cSearchFile(rel.c_str(), "*.txt", "rel.txt"), 2);
  EXPECT_EQ(ReadBytes(out / "rel.txt"), expect);
  EXPECT_EQ(CurrentDir(), out.path());
}

TEST_F(Search, DotAndDotDotAreNotWalked) {
  CurrentDirScope cwd(tree.path());
  EXPECT_EQ(dll().cSearchFile(".", "*.txt", ""), 0);
  EXPECT_EQ(dll().cSearchFile("..", "*.txt", ""), 0);
  EXPECT_EQ(CurrentDir(), tree.path());
  EXPECT_EQ(dll().cSearchFile(tree.path().c_str(), "*.txt", ""), 7);
}

TEST_F(Search, MissingStartLeavesTheCurrentDirectory) {
  CurrentDirScope cwd(out.path());
  EXPECT_EQ(dll().cSearchFile((tree / "missing").c_str(), "*.*", ""), 0);
  EXPECT_EQ(CurrentDir(), out.path());
}

TEST_F(Search, ResultFileInsideTheTreeListsItself) {
  std::string result = tree / "sub2\\list.txt";
  EXPECT_EQ(dll().cSearchFile(tree.path().c_str(), "*.txt", result.c_str()), 8);
  EXPECT_NE(ReadBytes(result)->find(result + "\r\n"), std::string::npos);
}

TEST_F(Search, RefusedArgumentsAndReadOnlyResultFile) {
  std::string result = out / "ro.txt";
  WriteBytes(result, "protected");
  ASSERT_TRUE(SetFileAttributesA(result.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(dll().cSearchFile(tree.path().c_str(), "*.txt", result.c_str()), -1);
  EXPECT_EQ(ReadBytes(result), "protected");
  EXPECT_EQ(dll().cSearchFile("", "*.txt", ""), -1);
  EXPECT_EQ(dll().cSearchFile(tree.path().c_str(), "", ""), -1);
  EXPECT_EQ(dll().cSearchFile(tree.path().c_str(), "*.txt", (out.path() + "\\no\\such\\r.txt").c_str()), -1);
  std::string too_long(300, 'p');
  EXPECT_EQ(dll().cSearchFile(tree.path().c_str(), too_long.c_str(), ""), -1);
  EXPECT_EQ(dll().cSearchFile(too_long.c_str(), "*", ""), -1);
}

TEST_F(Search, CurrentDirectoryComesBackFromAnotherDrive) {
  // The tree is on C:; start the search from the other drive.
  std::string z = "Z:\\tmp";
  if (!Exists(z)) GTEST_SKIP() << "no second drive";
  CurrentDirScope cwd(z);
  EXPECT_EQ(dll().cSearchFile(tree.path().c_str(), "*.txt", ""), 7);
  EXPECT_EQ(CurrentDir(), z);
}

TEST(SearchFullDisk, WriteFailureStopsCountingLinesThatAreNotWritten) {
  auto disk = FullDisk();
  if (!disk) GTEST_SKIP() << "no small file system for this run";
  TempDir tree;
  for (int i = 0; i < 400; ++i) {
    char name[8];
    snprintf(name, sizeof name, "%03d", i);
    WriteBytes(tree / (name + std::string(150, 'n')), "");
  }
  std::string result = *disk + "\\found.txt";
  int32_t n = dll().cSearchFile(tree.path().c_str(), "*", result.c_str());
  std::string bytes = ReadBytes(result).value_or("");
  // The count is exactly the number of complete lines that reached the file.
  int lines = 0;
  for (size_t at = 0; (at = bytes.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  EXPECT_LT(n, 400);
  EXPECT_EQ(n, lines);
  DeleteFileA(result.c_str());
}

}  // namespace
}  // namespace vnk::test
