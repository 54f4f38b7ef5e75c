// Tree listings: the whole tree as one text (and through it the tree walk's limits,
// order and dropped names), the folders of one folder one per call, and the count.
#include <algorithm>
#include <cstdio>
#include <set>

#include "tests/win/harness.h"

namespace vnk::test {
namespace {

std::string AllSub(const std::string& folder, int32_t* count) {
  *count = 12345;
  return Take(dll().cAllSubDirectories(folder.c_str(), count));
}

int Lines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\r')); }

// Runs first in this program: no listing has been started yet.
TEST(SubDirectory, NothingBeforeAFirstCall) { EXPECT_EQ(Take(dll().cSubDirectory("", 0)), ""); }

TEST(AllSubDirectories, SortedFullPathsEachEndedByACarriageReturn) {
  TempDir dir;
  for (const char* d : {"B", "a", "a\\C", "B\\.x", ".hidden", ".hidden\\in"}) MakeDir(dir / d);
  WriteBytes(dir / "file", "x");
  int32_t count;
  std::string t = dir.path();
  // First-level dotted folders are dropped with what lies below them; deeper ones are
  // ordinary folders. Letter case does not decide the order.
  EXPECT_EQ(AllSub(t, &count), t + "\\a\r" + t + "\\a\\C\r" + t + "\\B\r" + t + "\\B\\.x\r");
  EXPECT_EQ(count, 4);
  // A trailing backslash changes nothing (no doubled backslash).
  EXPECT_EQ(AllSub(t + "\\", &count), t + "\\a\r" + t + "\\a\\C\r" + t + "\\B\r" + t + "\\B\\.x\r");
  EXPECT_EQ(count, 4);
}

TEST(AllSubDirectories, BackslashSortsBetweenDotAndLetters) {
  TempDir dir;
  for (const char* d : {"AB", "A", "A.B", "A\\B", "A_", "A-"}) MakeDir(dir / d);
  int32_t count;
  std::string t = dir.path() + "\\";
  EXPECT_EQ(AllSub(dir.path(), &count), t + "A\r" + t + "A-\r" + t + "A.B\r" + t + "A\\B\r" + t + "A_\r" + t + "AB\r");
  EXPECT_EQ(count, 6);
}

TEST(AllSubDirectories, NoFolderBelowOrNoFolderAtAll) {
  TempDir dir;
  WriteBytes(dir / "only-a-file", "x");
  int32_t count;
  EXPECT_EQ(AllSub(dir.path(), &count), "");
  EXPECT_EQ(count, -1);
  EXPECT_EQ(AllSub(dir / "missing", &count), "");
  EXPECT_EQ(count, -1);
}

// A blank folder, like "\", is the root of the current drive, and the paths start at
// the backslash. Deeper levels of a drive change while other tests run, so the check is
// on the shape of the text and on the drive's first level (the folders found there both
// before and after the call).
TEST(AllSubDirectories, BlankFolderIsTheCurrentDrivesRoot) {
  TempDir dir;
  CurrentDirScope in(dir.path());
  auto first_level = [&] {
    std::set<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir.path().substr(0, 2) + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
      if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && fd.cFileName[0] != '.') names.insert(fd.cFileName);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return names;
  };
  std::set<std::string> before = first_level();
  int32_t count = 0;
  std::string text = AllSub("", &count);
  std::set<std::string> after = first_level();
  ASSERT_GT(count, 0);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), count);
  for (size_t at = 0; at < text.size(); at = text.find('\r', at) + 1) {
    EXPECT_EQ(text[at], '\\') << at;
  }
  for (const std::string& name : before) {
    if (after.count(name) != 0) {
      EXPECT_NE(text.find("\\" + name + "\r"), std::string::npos) << name;
    }
  }
}

TEST(AllSubDirectories, PathsBeyondASlotAreSkippedWithTheirSubTrees) {
  TempDir dir;
  size_t base = dir.path().size() + 1;
  ASSERT_LT(base, 100u);
  std::string fits(127 - base, 'f'), over(128 - base, 'o');
  MakeDir(dir / fits);
  MakeDir(dir / over);
  MakeDir(dir / (over + "\\deep"));
  // Deeper: a child that would end at 128 characters is skipped, its sibling kept.
  MakeDir(dir / "s");
  std::string deep_fit(127 - base - 2, 'd'), deep_over(128 - base - 2, 'e');
  MakeDir(dir / ("s\\" + deep_fit));
  MakeDir(dir / ("s\\" + deep_over));
  int32_t count;
  std::string text = AllSub(dir.path(), &count);
  EXPECT_EQ(text, dir / fits + "\r" + dir / "s" + "\r" + dir / ("s\\" + deep_fit) + "\r");
  EXPECT_EQ(count, 3);
}

// 999 folders are all collected; of 1000, 999 are, and a tree deletion leaves one.
TEST(AllSubDirectories, AtMost999Folders) {
  TempDir dir;
  MakeDir(dir / "top");
  char name[16];
  for (int i = 0; i < 998; ++i) {
    snprintf(name, sizeof name, "top\\%03d", i);
    MakeDir(dir / name);
  }
  int32_t count;
  std::string text = AllSub(dir.path(), &count);
  EXPECT_EQ(count, 999);
  EXPECT_EQ(Lines(text), 999);
  // Sorted: "top" first, then its children in name order.
  EXPECT_EQ(text.substr(0, dir.path().size() + 5), dir / "top" + "\r");
  EXPECT_NE(text.find(dir / "top\\997\r"), std::string::npos);

  MakeDir(dir / "top\\998");
  text = AllSub(dir.path(), &count);
  EXPECT_EQ(count, 999);
  EXPECT_EQ(Lines(text), 999);

  // The walk holds "top" and 998 of its children: those go, and "top" stays with the
  // child the walk never saw.
  EXPECT_EQ(dll().cKillDirs(dir.path().c_str(), 0), 998);
  text = AllSub(dir.path(), &count);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(text.substr(0, dir.path().size() + 5), dir / "top" + "\r");
  // With exactly 999 below it (the survivor, x and 997 in x), the whole tree goes.
  for (int i = 0; i < 997; ++i) {
    snprintf(name, sizeof name, "top\\x\\%03d", i);
    if (i == 0) MakeDir(dir / "top\\x");
    MakeDir(dir / name);
  }
  EXPECT_EQ(dll().cKillDirs((dir / "top").c_str(), 1), 1000);
  EXPECT_FALSE(Exists(dir / "top"));
}

// Breadth first: when the limit cuts the tree, every folder of the first level is in.
TEST(AllSubDirectories, LimitKeepsTheUpperLevels) {
  TempDir dir;
  char name[32];
  for (int i = 0; i < 10; ++i) {
    snprintf(name, sizeof name, "%d", i);
    MakeDir(dir / name);
    for (int j = 0; j < 100; ++j) {
      snprintf(name, sizeof name, "%d\\%02d", i, j);
      MakeDir(dir / name);
    }
  }
  int32_t count;
  std::string text = AllSub(dir.path(), &count);
  EXPECT_EQ(count, 999);
  for (int i = 0; i < 10; ++i) {
    snprintf(name, sizeof name, "%d\r", i);
    EXPECT_NE(text.find(dir / name), std::string::npos) << i;
  }
}

TEST(SubDirectory, OneFolderPerCall) {
  TempDir dir;
  MakeDir(dir / "A");
  MakeDir(dir / "B");
  WriteBytes(dir / "f.txt", "x");
  std::string pattern = dir / "*.*";
  std::set<std::string> seen;
  std::string n = Take(dll().cSubDirectory(pattern.c_str(), -1));
  int calls = 0;
  while (!n.empty() && calls++ < 10) {
    seen.insert(n);
    n = Take(dll().cSubDirectory("", 0));
  }
  // "." and ".." are folders too, where the platform lists them (not at a root).
  EXPECT_EQ(seen, (std::set<std::string>{".", "..", "A", "B"}));
  // The end stays the end.
  EXPECT_EQ(Take(dll().cSubDirectory("", 0)), "");
  // A new first call starts over; the pattern counts only then.
  EXPECT_EQ(Take(dll().cSubDirectory((dir / "B").c_str(), -1)), "B");
  EXPECT_EQ(Take(dll().cSubDirectory((dir / "A").c_str(), 0)), "");
  EXPECT_EQ(Take(dll().cSubDirectory((dir / "f.txt").c_str(), -1)), "");
  EXPECT_EQ(Take(dll().cSubDirectory((dir / "none").c_str(), -1)), "");
  EXPECT_EQ(Take(dll().cSubDirectory("", 0)), "");
}

TEST(CountDirectories, CountsWhatThePatternMatches) {
  TempDir dir;
  for (const char* d : {"A1", "A2", "B"}) MakeDir(dir / d);
  WriteBytes(dir / "A3", "x");
  EXPECT_EQ(dll().cCountDirectories((dir / "*.*").c_str()), 5);  // with "." and ".."
  EXPECT_EQ(dll().cCountDirectories((dir / "*").c_str()), 5);
  EXPECT_EQ(dll().cCountDirectories((dir / "A*").c_str()), 2);
  EXPECT_EQ(dll().cCountDirectories((dir / "none*").c_str()), 0);
  CurrentDirScope in(dir.path());
  EXPECT_EQ(dll().cCountDirectories("A*"), 2);
}

}  // namespace
}  // namespace vnk::test
