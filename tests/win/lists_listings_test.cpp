// cFilesInDirectory, cFilesInDirToArray and cFilesInDirOnDisk: names in the platform's
// own order, folders never listed, the attribute filters, the array never resized, and
// the list file's exact bytes.
#include <algorithm>

#include "host/host_args.h"
#include "tests/win/harness.h"

namespace vnk::test {
namespace {

std::string Lines(const std::vector<std::string>& names) {
  std::string s;
  for (auto& n : names) s += n + "\r\n";
  return s;
}

std::vector<std::string> ListAll(const std::string& pattern) {
  std::vector<std::string> names;
  for (std::string n = Take(dll().cFilesInDirectory(pattern.c_str(), -1)); !n.empty();
       n = Take(dll().cFilesInDirectory("", 0)))
    names.push_back(n);
  return names;
}

// Must run before any first call in this process: the listing starts out empty.
TEST(FilesInDirectory, ContinuingBeforeAnyFirstCallGivesEmpty) {
  EXPECT_EQ(Take(dll().cFilesInDirectory("", 0)), "");
  EXPECT_EQ(Take(dll().cFilesInDirectory("*.*", 1)), "");  // only -1 starts a listing
}

TEST(FilesInDirectory, ListsFilesOnlyInPlatformOrderAndStaysAtTheEnd) {
  TempDir d;
  for (auto n : {"one.txt", "two.txt", "three.dat", "Four.TXT"}) WriteBytes(d / n, "x");
  MakeDir(d / "folder.txt");
  EXPECT_EQ(ListAll(d / "*.txt"), PlatformFiles(d / "*.txt"));
  EXPECT_EQ(ListAll(d / "*.txt").size(), 3u);
  EXPECT_EQ(ListAll(d / "*.*").size(), 4u);
  // At the end every further call is empty until a new listing starts.
  EXPECT_EQ(Take(dll().cFilesInDirectory("", 0)), "");
  EXPECT_EQ(Take(dll().cFilesInDirectory("", 0)), "");
  // A name without wildcards lists that file.
  EXPECT_EQ(ListAll(d / "three.dat"), std::vector<std::string>{"three.dat"});
}

TEST(FilesInDirectory, FirstCallAbandonsTheListingUnderWay) {
  TempDir a, b;
  for (auto n : {"a1", "a2", "a3"}) WriteBytes(a / n, "");
  WriteBytes(b / "b1", "");
  std::string first = Take(dll().cFilesInDirectory((a / "*").c_str(), -1));
  EXPECT_EQ(first[0], 'a');
  EXPECT_EQ(Take(dll().cFilesInDirectory((b / "*").c_str(), -1)), "b1");
  EXPECT_EQ(Take(dll().cFilesInDirectory("", 0)), "");
  // A failed start is kept too: continuing gives nothing.
  EXPECT_EQ(Take(dll().cFilesInDirectory((a / "*.none").c_str(), -1)), "");
  EXPECT_EQ(Take(dll().cFilesInDirectory("", 0)), "");
  EXPECT_EQ(Take(dll().cFilesInDirectory("", -1)), "");  // no default pattern
  std::string too_long = a.path() + "\\" + std::string(300 - a.path().size(), 'x');
  EXPECT_EQ(Take(dll().cFilesInDirectory(too_long.c_str(), -1)), "");
}

TEST(FilesInDirectory, FolderOfOnlySubFolders) {
  TempDir d;
  MakeDir(d / "sub1");
  MakeDir(d / "sub2");
  EXPECT_EQ(Take(dll().cFilesInDirectory((d / "*.*").c_str(), -1)), "");

  HostArray names(VT_BSTR, 1, 3);
  FillStrings(names, {"x", "y", "z"});
  EXPECT_EQ(dll().cFilesInDirToArray((d / "*.*").c_str(), 255, names.ref()), 0);
  EXPECT_EQ(Strings(names), (std::vector<std::string>{"", "", ""}));

  TempDir out;
  EXPECT_EQ(dll().cFilesInDirOnDisk((out / "list.txt").c_str(), (d / "*.*").c_str(), 255), 0);
  EXPECT_EQ(ReadBytes(out / "list.txt"), "");
}

TEST(FilesInDirToArray, PatternMatchingNothingLeavesTheArray) {
  TempDir d;
  WriteBytes(d / "a.txt", "");
  HostArray names(VT_BSTR, 0, 2);
  FillStrings(names, {"keep", "me"});
  EXPECT_EQ(dll().cFilesInDirToArray((d / "*.none").c_str(), 255, names.ref()), -1);
  EXPECT_EQ(dll().cFilesInDirToArray((d.path() + "\\missing\\*.*").c_str(), 255, names.ref()), -1);
  EXPECT_EQ(Strings(names), (std::vector<std::string>{"keep", "me"}));
}

TEST(FilesInDirToArray, ArrayIsNeverResized) {
  TempDir d;
  for (auto n : {"f1", "f2", "f3", "f4", "f5"}) WriteBytes(d / n, "");
  std::vector<std::string> order = PlatformFiles(d / "*");

  HostArray three(VT_BSTR, 1, 3);
  EXPECT_EQ(dll().cFilesInDirToArray((d / "*").c_str(), 255, three.ref()), 3);
  EXPECT_EQ(Strings(three), std::vector<std::string>(order.begin(), order.begin() + 3));

  TempDir two;
  WriteBytes(two / "g1", "");
  WriteBytes(two / "g2", "");
  FillStrings(three, {"old1", "old2", "old3"});
  EXPECT_EQ(dll().cFilesInDirToArray((two / "g*").c_str(), 255, three.ref()), 2);
  std::vector<std::string> got = Strings(three);
  EXPECT_EQ(got[2], "");
  std::vector<std::string> expect = PlatformFiles(two / "g*");
  expect.push_back("");
  EXPECT_EQ(got, expect);

  // An array with no elements takes nothing and nothing is written past it.
  HostArray none(VT_BSTR, 0, 0);
  EXPECT_EQ(dll().cFilesInDirToArray((d / "*").c_str(), 255, none.ref()), 0);
}

TEST(FilesInDirToArray, EmptyPatternListsTheCurrentDirectory) {
  TempDir d;
  WriteBytes(d / "here.txt", "");
  CurrentDirScope cwd(d.path());
  HostArray names(VT_BSTR, 0, 4);
  EXPECT_EQ(dll().cFilesInDirToArray("", 255, names.ref()), 1);
  EXPECT_EQ(Strings(names)[0], "here.txt");
}

TEST(FilesInDirToArray, RefusesWhatItCannotServe) {
  TempDir d;
  WriteBytes(d / "a", "");
  // Not an array of strings, or a pattern longer than a path: -1, nothing touched.
  HostArray ints(VT_I2, 0, 4);
  EXPECT_EQ(dll().cFilesInDirToArray((d / "*").c_str(), 255, ints.ref()), -1);
  SAFEARRAY* none = nullptr;
  EXPECT_EQ(dll().cFilesInDirToArray((d / "*").c_str(), 255, &none), -1);
  HostArray names(VT_BSTR, 0, 1);
  FillStrings(names, {"keep"});
  std::string too_long = d.path() + "\\" + std::string(300 - d.path().size(), '*');
  EXPECT_EQ(dll().cFilesInDirToArray(too_long.c_str(), 255, names.ref()), -1);
  EXPECT_EQ(Strings(names)[0], "keep");
}

// Under this platform every file carries the archive bit, so a "plain" file shows 0x20;
// the filters' plain-file (attribute 0) rows are checked on the filter itself.
class Filters : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(d / "plain", "");
    WriteBytes(d / "hidden", "");
    WriteBytes(d / "readonly", "");
    WriteBytes(d / "system", "");
    MakeDir(d / "folder");
    ASSERT_TRUE(SetFileAttributesA((d / "hidden").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_TRUE(SetFileAttributesA((d / "readonly").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_TRUE(SetFileAttributesA((d / "system").c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
  }
  std::vector<std::string> Listed(int16_t filter) {
    HostArray names(VT_BSTR, 0, 10);
    int16_t n = dll().cFilesInDirToArray((d / "*").c_str(), filter, names.ref());
    std::vector<std::string> got = Strings(names);
    got.resize(n < 0 ? 0 : n);
    std::sort(got.begin(), got.end());
    // The list file takes the same entries.
    TempDir out;
    EXPECT_EQ(dll().cFilesInDirOnDisk((out / "l").c_str(), (d / "*").c_str(), filter), n);
    std::vector<std::string> lines;
    std::string bytes = ReadBytes(out / "l").value_or("");
    for (size_t at = 0; at < bytes.size();) {
      size_t end = bytes.find("\r\n", at);
      lines.push_back(bytes.substr(at, end - at));
      at = end + 2;
    }
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, got);
    return got;
  }
  TempDir d;
};

TEST_F(Filters, PositiveAndAllTakeEveryUncompressedFile) {
  const std::vector<std::string> all{"hidden", "plain", "readonly", "system"};
  EXPECT_EQ(Listed(255), all);
  EXPECT_EQ(Listed(2), all);
  EXPECT_EQ(Listed(1), all);
  EXPECT_EQ(Listed(254), all);
}

TEST_F(Filters, NegativeFiltersAreExactCombinations) {
  EXPECT_EQ(Listed(-2), std::vector<std::string>{});  // every file here also has archive
  EXPECT_EQ(Listed(-34), std::vector<std::string>{"hidden"});
  EXPECT_EQ(Listed(-33), std::vector<std::string>{"readonly"});
  EXPECT_EQ(Listed(-32), std::vector<std::string>{"plain"});
  EXPECT_EQ(Listed(-36), std::vector<std::string>{"system"});
}

TEST_F(Filters, ZeroAndUnknownValuesTakeNothing) {
  EXPECT_EQ(Listed(0), std::vector<std::string>{});  // no file reads back as plain 0 here
  EXPECT_EQ(Listed(200), std::vector<std::string>{});
  EXPECT_EQ(Listed(128), std::vector<std::string>{});
  EXPECT_EQ(Listed(256), std::vector<std::string>{});
  // Filter 200 still found entries: the array is emptied and 0 is returned, not -1.
  HostArray names(VT_BSTR, 0, 2);
  FillStrings(names, {"x", "y"});
  EXPECT_EQ(dll().cFilesInDirToArray((d / "*").c_str(), 200, names.ref()), 0);
  EXPECT_EQ(Strings(names), (std::vector<std::string>{"", ""}));
}

TEST(FilesInDirOnDisk, ListFileFormatAndCodes) {
  TempDir d, out;
  for (auto n : {"b.txt", "a.txt", "c.txt", "skip.dat"}) WriteBytes(d / n, "");
  MakeDir(d / "dir.txt");
  std::string list = out / "list.lst";
  EXPECT_EQ(dll().cFilesInDirOnDisk(list.c_str(), (d / "*.txt").c_str(), 255), 3);
  EXPECT_EQ(ReadBytes(list), Lines(PlatformFiles(d / "*.txt")));

  // Nothing matches: -1, and the list file exists, empty.
  EXPECT_EQ(dll().cFilesInDirOnDisk(list.c_str(), (d / "*.none").c_str(), 255), -1);
  EXPECT_EQ(ReadBytes(list), "");

  EXPECT_EQ(dll().cFilesInDirOnDisk("", (d / "*").c_str(), 255), -1);
  EXPECT_EQ(dll().cFilesInDirOnDisk((out / "a.b.c").c_str(), (d / "*").c_str(), 255), -2);
  EXPECT_EQ(dll().cFilesInDirOnDisk((out.path() + "\\").c_str(), (d / "*").c_str(), 255), -2);
  EXPECT_EQ(dll().cFilesInDirOnDisk((out.path() + "\\no\\such\\dir\\l.txt").c_str(), (d / "*").c_str(), 255),
            static_cast<int16_t>(RC_CANT_OPEN_FIRST));
  // A folder in the list file's place cannot be removed.
  MakeDir(out / "taken");
  EXPECT_EQ(dll().cFilesInDirOnDisk((out / "taken").c_str(), (d / "*").c_str(), 255), -3);
}

TEST(FilesInDirOnDisk, OverlongNamesAndPatternsAreRefusedUntouched) {
  TempDir d, out;
  WriteBytes(d / "a", "");
  std::string list = out / "list.txt";
  WriteBytes(list, "previous");
  std::string long_pattern = d.path() + "\\" + std::string(300 - d.path().size(), '*');
  EXPECT_EQ(dll().cFilesInDirOnDisk(list.c_str(), long_pattern.c_str(), 255), -1);
  EXPECT_EQ(ReadBytes(list), "previous");
  std::string long_name = out.path() + "\\" + std::string(280 - out.path().size(), 'n');
  EXPECT_EQ(dll().cFilesInDirOnDisk(long_name.c_str(), (d / "*").c_str(), 255), -2);
}

TEST(FilesInDirOnDisk, ListFileListsItselfAndReplacesAReadOnlyOne) {
  TempDir d;
  WriteBytes(d / "x.txt", "");
  std::string list = d / "list.txt";
  WriteBytes(list, "old contents that must go\r\n");
  ASSERT_TRUE(SetFileAttributesA(list.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(dll().cFilesInDirOnDisk(list.c_str(), (d / "*.txt").c_str(), 255), 2);
  std::string bytes = ReadBytes(list).value_or("");
  EXPECT_EQ(bytes, Lines(PlatformFiles(d / "*.txt")));
  EXPECT_NE(bytes.find("list.txt\r\n"), std::string::npos);
  EXPECT_EQ(bytes.find("old"), std::string::npos);
}

TEST(FilesInDirOnDisk, EmptyPatternListsTheCurrentDirectory) {
  TempDir d;
  WriteBytes(d / "only", "");
  CurrentDirScope cwd(d.path());
  EXPECT_EQ(dll().cFilesInDirOnDisk("list", "", 255), 2);
  EXPECT_EQ(ReadBytes(d / "list"), Lines(PlatformFiles(d / "*.*")));
}

TEST(FilesInDirOnDisk, FullDiskIsAFailedWriteAndKeepsWhatWasWritten) {
  auto disk = FullDisk();
  if (!disk) GTEST_SKIP() << "no small file system for this run";
  // More name bytes than the small file system holds.
  TempDir d;
  for (int i = 0; i < 400; ++i) {
    char name[8];
    snprintf(name, sizeof name, "%03d", i);
    WriteBytes(d / (name + std::string(200, 'n')), "");
  }
  std::string list = *disk + "\\list.txt";
  EXPECT_EQ(dll().cFilesInDirOnDisk(list.c_str(), (d / "*").c_str(), 255), static_cast<int16_t>(RC_WRITE_FAILED));
  EXPECT_TRUE(Exists(list));
  DeleteFileA(list.c_str());
}

}  // namespace
}  // namespace vnk::test
