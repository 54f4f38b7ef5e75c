// Current folder and drive, folder creation (one level and whole chains), existence.
#include "tests/win/harness.h"

namespace vnk::test {
namespace {

std::string DriveRecord(char letter) {
  char name[4] = {'=', letter, ':', '\0'};
  char value[MAX_PATH + 1] = {};
  if (GetEnvironmentVariableA(name, value, sizeof value) == 0) return {};
  return value;
}

TEST(ChDir, ChangesFolderAndRecordsItForItsDrive) {
  TempDir dir;
  MakeDir(dir / "sub");
  CurrentDirScope keep(dir.path());
  std::string before = CurrentDir();
  EXPECT_EQ(dll().cChDir(""), 2);
  EXPECT_EQ(CurrentDir(), before);
  EXPECT_EQ(dll().cChDir((dir / "missing").c_str()), 2);
  EXPECT_EQ(CurrentDir(), before);

  EXPECT_EQ(dll().cChDir("sub"), -1);
  std::string now = CurrentDir();
  EXPECT_EQ(now, dir / "sub");
  // Recorded under the drive letter in upper case, with the full folder text.
  char letter = static_cast<char>(toupper(static_cast<unsigned char>(now[0])));
  EXPECT_EQ(DriveRecord(letter), now);
}

TEST(ChDrive, FirstCharacterOnly) {
  TempDir dir;
  CurrentDirScope keep(dir.path());
  EXPECT_EQ(dll().cChDrive(""), 2);
  EXPECT_EQ(dll().cChDrive("1"), 13);
  EXPECT_EQ(dll().cChDrive("~"), 13);
  EXPECT_EQ(CurrentDir(), dir.path());

  // The temporary folder is on C: under Wine. Going to Z: and back returns to the
  // folder recorded for C: by cChDir.
  ASSERT_EQ(toupper(static_cast<unsigned char>(dir.path()[0])), 'C');
  ASSERT_EQ(dll().cChDir(dir.path().c_str()), -1);
  EXPECT_EQ(dll().cChDrive("Z:\\ignored"), -1);
  EXPECT_EQ(toupper(static_cast<unsigned char>(CurrentDir()[0])), 'Z');
  EXPECT_EQ(dll().cChDrive("c"), -1);
  EXPECT_EQ(CurrentDir(), dir.path());
  EXPECT_EQ(dll().cChDrive("Z"), -1);
  EXPECT_EQ(dll().cChDrive("C:"), -1);
  EXPECT_EQ(CurrentDir(), dir.path());
}

TEST(MakeDir, OneLevel) {
  TempDir dir;
  EXPECT_EQ(dll().cMakeDir((dir / "new").c_str()), -1);
  EXPECT_TRUE(Exists(dir / "new"));
  EXPECT_EQ(dll().cMakeDir((dir / "new").c_str()), 17);
  EXPECT_EQ(dll().cMakeDir((dir / "none\\sub").c_str()), 2);
  EXPECT_FALSE(Exists(dir / "none"));
}

TEST(MakeMultipleDir, WholeChain) {
  TempDir dir;
  EXPECT_EQ(dll().cMakeMultipleDir((dir / "A\\B\\C").c_str()), -1);
  EXPECT_TRUE(Exists(dir / "A\\B\\C"));
  // Existing already: still success.
  EXPECT_EQ(dll().cMakeMultipleDir((dir / "A\\B\\C").c_str()), -1);
  EXPECT_EQ(dll().cMakeMultipleDir((dir / "A").c_str()), -1);
  // Relative to the current folder.
  CurrentDirScope in(dir.path());
  EXPECT_EQ(dll().cMakeMultipleDir("R\\S"), -1);
  EXPECT_TRUE(Exists(dir / "R\\S"));
}

TEST(MakeMultipleDir, RefusedPathsCreateNothing) {
  TempDir dir;
  for (std::string bad : {dir / "X\\Y\\", dir / "X\\*", dir / "X\\Y?", dir / "X\\a.b.c", std::string()}) {
    EXPECT_EQ(dll().cMakeMultipleDir(bad.c_str()), 2) << bad;
  }
  EXPECT_FALSE(Exists(dir / "X"));
  // Over the 260 characters the path buffer holds: refused, nothing made.
  std::string longer = dir / "L\\" + std::string(130, 'n') + "\\" + std::string(130, 'm');
  EXPECT_EQ(dll().cMakeMultipleDir(longer.c_str()), 2);
  EXPECT_FALSE(Exists(dir / "L"));
  // A level that cannot be made (a file is in the way) is reported by the final test.
  WriteBytes(dir / "F", "x");
  EXPECT_EQ(dll().cMakeMultipleDir((dir / "F\\G").c_str()), 2);
}

// "C:" alone names the folder last current on drive C. When that folder is gone, a
// chain on C: must not bring it back.
TEST(MakeMultipleDir, NeverRecreatesTheDrivesFormerCurrentFolder) {
  TempDir dir;
  std::string gone = dir / "gone";
  MakeDir(gone);
  std::string home = CurrentDir();
  ASSERT_EQ(toupper(static_cast<unsigned char>(home[0])), 'Z');  // run from the build folder
  ASSERT_EQ(dll().cChDir(gone.c_str()), -1);
  ASSERT_TRUE(SetCurrentDirectoryA(home.c_str()));
  ASSERT_TRUE(RemoveDirectoryA(gone.c_str()));
  EXPECT_EQ(dll().cMakeMultipleDir((dir / "X\\Y").c_str()), -1);
  EXPECT_TRUE(Exists(dir / "X\\Y"));
  EXPECT_FALSE(Exists(gone));
}

TEST(FilePathExists, FilesFoldersAndRoots) {
  TempDir dir;
  WriteBytes(dir / "f", "x");
  EXPECT_EQ(dll().cFilePathExists((dir / "f").c_str()), -1);
  EXPECT_EQ(dll().cFilePathExists(dir.path().c_str()), -1);
  EXPECT_EQ(dll().cFilePathExists("C:\\"), -1);
  EXPECT_EQ(dll().cFilePathExists((dir / "missing").c_str()), 2);
}

}  // namespace
}  // namespace vnk::test
