// Disk information and size accounting through the exports: the drive functions, the
// counts and totals over one wildcard path, and the folder walks.
#include <cmath>
#include <string>

#include "tests/win/harness.h"

namespace vnk::test {
namespace {

// A drive letter with nothing behind it.
std::string NoSuchDrive() {
  DWORD drives = GetLogicalDrives();
  for (int i = 25; i >= 3; --i)
    if (!(drives & (1u << i))) return std::string(1, static_cast<char>('A' + i));
  return "";
}

void WriteSized(const std::string& path, size_t bytes) { WriteBytes(path, std::string(bytes, 'x')); }

// A small tree whose sizes are counted in clusters of the drive it lies on:
//   a.txt 1 byte, B.TXT one cluster, c.TXT one cluster + 1, d.dat empty, .PROFILE 5,
//   sub\e.TXT 10, sub\deep\f.txt 7, sub\deep\G.TXT 3, .hid\h.TXT 4.
class Tree : public ::testing::Test {
 protected:
  void SetUp() override {
    cluster = static_cast<size_t>(dll().cGetDiskClusterSize(t.path().c_str()));
    ASSERT_GE(cluster, 512u);
    WriteSized(t / "a.txt", 1);
    WriteSized(t / "B.TXT", cluster);
    WriteSized(t / "c.TXT", cluster + 1);
    WriteSized(t / "d.dat", 0);
    WriteSized(t / ".PROFILE", 5);
    MakeDir(t / "sub");
    MakeDir(t / "sub\\deep");
    MakeDir(t / ".hid");
    WriteSized(t / "sub\\e.TXT", 10);
    WriteSized(t / "sub\\deep\\f.txt", 7);
    WriteSized(t / "sub\\deep\\G.TXT", 3);
    WriteSized(t / ".hid\\h.TXT", 4);
  }
  std::string all() const { return t / "*.*"; }
  TempDir t;
  size_t cluster = 0;
};

}  // namespace

TEST(DiskInfo, LooseDriveArgumentsGiveTheSameAnswers) {
  const Dll& d = dll();
  double space = d.cGetDiskSpace("C");
  double cluster = d.cGetDiskClusterSize("C");
  ASSERT_GT(space, 0);
  EXPECT_GE(cluster, 512);
  for (const char* arg : {"C:", "C:\\ANY\\PATH", "c"}) {
    EXPECT_EQ(d.cGetDiskSpace(arg), space) << arg;
    EXPECT_EQ(d.cGetDiskClusterSize(arg), cluster) << arg;
    EXPECT_EQ(d.cGetDriveType(arg), DRIVE_FIXED) << arg;
    EXPECT_GE(d.cGetDiskFree(arg), 0) << arg;
    EXPECT_GE(d.cGetDiskUsed(arg), 0) << arg;
  }
  EXPECT_EQ(d.cGetDriveType("C"), DRIVE_FIXED);
  // An empty drive is the current one.
  for (const char* here : {"C:\\", "Z:\\"}) {
    CurrentDirScope scope(here);
    std::string letter(here, 1);
    EXPECT_EQ(d.cGetDiskSpace(""), d.cGetDiskSpace(letter.c_str())) << here;
    EXPECT_EQ(d.cGetDiskClusterSize(""), d.cGetDiskClusterSize(letter.c_str())) << here;
    EXPECT_EQ(d.cGetDriveType(""), DRIVE_FIXED) << here;
  }
}

TEST(DiskInfo, UsedPlusFreeIsCapacity) {
  // Other programs write to the same disk: take the three figures at a quiet moment.
  for (const char* drive : {"C:", "Z:"}) {
    double used = 0, free = 0, space = 0;
    for (int attempt = 0; attempt < 400; ++attempt) {
      space = dll().cGetDiskSpace(drive);
      used = dll().cGetDiskUsed(drive);
      free = dll().cGetDiskFree(drive);
      if (used + free == space && dll().cGetDiskSpace(drive) == space) break;
      Sleep(attempt % 10);  // tests running beside this one keep writing to the disk
    }
    EXPECT_EQ(used + free, space) << drive;
    EXPECT_EQ(std::fmod(space, dll().cGetDiskClusterSize(drive)), 0) << drive;
  }
}

TEST(DiskInfo, DriveLetterWithoutADrive) {
  std::string q = NoSuchDrive();
  ASSERT_FALSE(q.empty());
  for (std::string arg : {q, q + ":", q + ":\\X\\Y"}) {
    EXPECT_EQ(dll().cGetDiskSpace(arg.c_str()), -1.0) << arg;
    EXPECT_EQ(dll().cGetDiskUsed(arg.c_str()), -1.0) << arg;
    EXPECT_EQ(dll().cGetDiskFree(arg.c_str()), -1.0) << arg;
    EXPECT_EQ(dll().cGetDiskClusterSize(arg.c_str()), -1.0) << arg;
    EXPECT_EQ(dll().cGetDriveType(arg.c_str()), DRIVE_NO_ROOT_DIR) << arg;
  }
}

TEST(FileDrive, LetterOfAnExistingFileOrABlank) {
  TempDir t;
  WriteBytes(t / "here.txt", "x");
  ASSERT_EQ(t.path().substr(0, 2), "C:");
  EXPECT_EQ(Take(dll().cFileDrive((t / "here.txt").c_str())), "C");
  EXPECT_EQ(Take(dll().cFileDrive(("c" + (t / "here.txt").substr(1)).c_str())), "C");
  EXPECT_EQ(Take(dll().cFileDrive("Z:\\etc\\passwd")), "Z");
  EXPECT_EQ(Take(dll().cFileDrive((t / "missing.txt").c_str())), " ");
  EXPECT_EQ(Take(dll().cFileDrive((t / "*.txt").c_str())), " ");
  EXPECT_EQ(Take(dll().cFileDrive("C:")), " ");
  EXPECT_EQ(Take(dll().cFileDrive("")), " ");
  CurrentDirScope here(t.path());
  EXPECT_EQ(Take(dll().cFileDrive("here.txt")), "C");
  EXPECT_EQ(Take(dll().cFileDrive("missing.txt")), " ");
}

TEST_F(Tree, CountAndSizeEveryEntryOfOnePattern) {
  // ".", "..", five files and two folders.
  EXPECT_EQ(dll().cCountFiles(all().c_str()), 9);
  EXPECT_EQ(dll().cFilesSize(all().c_str()), 2.0 * cluster + 7);
  EXPECT_EQ(dll().cCountFiles((t / "*.TXT").c_str()), 3);  // the folder search ignores case
  EXPECT_EQ(dll().cFilesSize((t / ".PROFILE").c_str()), 5);
  EXPECT_EQ(dll().cCountFiles((t / "sub").c_str()), 1);  // the folder itself
  EXPECT_EQ(dll().cCountFiles((t / "*.none").c_str()), 0);
  EXPECT_EQ(dll().cFilesSize((t / "*.none").c_str()), 0);
  EXPECT_EQ(dll().cCountFiles((t / "nowhere\\*.*").c_str()), 0);
}

TEST_F(Tree, AllocationAndSlackAtTheRealClusterSize) {
  // 1 byte, a cluster, a cluster and a byte, nothing: 4 clusters hold 2 clusters + 2 bytes.
  TempDir e;
  WriteSized(e / "one", 1);
  WriteSized(e / "full", cluster);
  WriteSized(e / "over", cluster + 1);
  WriteSized(e / "empty", 0);
  std::string pattern = e / "*.*";
  EXPECT_EQ(dll().cFilesSizeOnDisk(pattern.c_str()), 4.0 * cluster);
  double size = -5, on_disk = -5;
  EXPECT_EQ(dll().cFilesSlack(pattern.c_str(), &size, &on_disk), 49);
  EXPECT_EQ(size, 2.0 * cluster + 2);
  EXPECT_EQ(on_disk, 4.0 * cluster);

  // Names without a drive letter lie on the current drive and answer what their full
  // names answer: relative to the current folder, or from the drive's root.
  {
    CurrentDirScope here(t.path());
    std::string rooted = e.path().substr(2) + "\\*.*";
    std::string up = "..\\" + e.path().substr(e.path().rfind('\\') + 1) + "\\*.*";
    for (const std::string& name : {rooted, up}) {
      EXPECT_EQ(dll().cFilesSizeOnDisk(name.c_str()), 4.0 * cluster) << name;
      size = on_disk = -5;
      EXPECT_EQ(dll().cFilesSlack(name.c_str(), &size, &on_disk), 49) << name;
      EXPECT_EQ(size, 2.0 * cluster + 2) << name;
      EXPECT_EQ(on_disk, 4.0 * cluster) << name;
    }
  }
  {
    CurrentDirScope here(e.path());
    EXPECT_EQ(dll().cFilesSizeOnDisk("*.*"), 4.0 * cluster);
    EXPECT_EQ(dll().cRcsFilesSizeOnDisk("", "", 0), 4.0 * cluster);
    EXPECT_EQ(dll().cRcsFilesSizeOnDisk(".", "*", 0), 4.0 * cluster);
    size = on_disk = -5;
    EXPECT_EQ(dll().cRcsFilesSlack("", "", 0, &size, &on_disk), 49);
    EXPECT_EQ(size, 2.0 * cluster + 2);
    EXPECT_EQ(on_disk, 4.0 * cluster);
  }

  size = on_disk = -5;
  EXPECT_EQ(dll().cFilesSlack((t / "*.none").c_str(), &size, &on_disk), -1);
  EXPECT_EQ(size, 0);
  EXPECT_EQ(on_disk, 0);
  EXPECT_EQ(dll().cFilesSizeOnDisk((t / "*.none").c_str()), 0);
}

TEST(Accounting, DriveThatCannotBeQueried) {
  std::string pattern = NoSuchDrive() + ":\\DATA\\*.*";
  EXPECT_EQ(dll().cFilesSizeOnDisk(pattern.c_str()), 0);
  double size = 123, on_disk = 456;
  EXPECT_EQ(dll().cFilesSlack(pattern.c_str(), &size, &on_disk), 0);
  EXPECT_EQ(size, 123);
  EXPECT_EQ(on_disk, 456);
  // The recursive allocation functions answer the same way.
  std::string dir = NoSuchDrive() + ":\\DATA";
  EXPECT_EQ(dll().cRcsFilesSizeOnDisk(dir.c_str(), "", 1), 0);
  EXPECT_EQ(dll().cRcsFilesSlack(dir.c_str(), "", 1, &size, &on_disk), 0);
  EXPECT_EQ(size, 123);
  EXPECT_EQ(on_disk, 456);
  // A network name has no drive letter, yet is not on the current drive: not asked.
  const char* share = "\\\\NOSUCHSERVER\\SHARE\\DATA";
  EXPECT_EQ(dll().cRcsFilesSizeOnDisk(share, "", 1), 0);
  EXPECT_EQ(dll().cRcsFilesSlack(share, "", 1, &size, &on_disk), 0);
  EXPECT_EQ(dll().cFilesSizeOnDisk("//NOSUCHSERVER/SHARE/*.*"), 0);
  EXPECT_EQ(size, 123);
  EXPECT_EQ(on_disk, 456);
}

TEST_F(Tree, WalkCountsFoldersAndMatchingFiles) {
  const char* dir = t.path().c_str();
  // Folders directly in dir, whatever the pattern; names beginning with "." are passed over.
  EXPECT_EQ(dll().cRcsCountFileDir(0, dir, "*.none", 0), 1);
  EXPECT_EQ(dll().cRcsCountFileDir(-1, dir, "", 0), 4);
  // Letters match in either case, in the pattern and in the names: a.txt, B.TXT, c.TXT.
  for (const char* pattern : {"*.txt", "*.TXT", "?.tXt", "*.T?T"})
    EXPECT_EQ(dll().cRcsCountFileDir(-1, dir, pattern, 0), 3) << pattern;
  EXPECT_EQ(dll().cRcsCountFileDir(1, dir, "b.txt", 0), 1);
  EXPECT_EQ(dll().cRcsCountFileDir(1, dir, "A*", 0), 1);
  EXPECT_EQ(dll().cRcsCountFileDir(1, dir, "*.tx", 0), 0);
  // The whole tree: sub and deep; a.txt, B.TXT, c.TXT, e.TXT, f.txt, G.TXT.
  EXPECT_EQ(dll().cRcsCountFileDir(0, dir, "", 1), 2);
  EXPECT_EQ(dll().cRcsCountFileDir(-1, dir, "*.txt", 1), 6);
  EXPECT_EQ(dll().cRcsCountFileDir(-1, dir, "F.TXT", 1), 1);
  EXPECT_EQ(dll().cRcsCountFileDir(-1, dir, "", 1), 7);
  // With a trailing backslash: the same.
  std::string slash = t.path() + "\\";
  EXPECT_EQ(dll().cRcsCountFileDir(0, slash.c_str(), "", 1), 2);
  EXPECT_EQ(dll().cRcsCountFileDir(-1, slash.c_str(), "*.txt", 1), 6);
  EXPECT_EQ(dll().cRcsFilesSize(slash.c_str(), "*.txt", 1), dll().cRcsFilesSize(dir, "*.txt", 1));
  // A folder that does not exist is empty.
  EXPECT_EQ(dll().cRcsCountFileDir(-1, (t / "nowhere").c_str(), "", 1), 0);
}

TEST_F(Tree, WalkTotals) {
  const char* dir = t.path().c_str();
  double txt_here = 2.0 * cluster + 2;  // a.txt, B.TXT, c.TXT
  EXPECT_EQ(dll().cRcsFilesSize(dir, "*.txt", 0), txt_here);
  EXPECT_EQ(dll().cRcsFilesSize(dir, "*.txt", 1), txt_here + 10 + 7 + 3);
  // Each call starts from nothing.
  EXPECT_EQ(dll().cRcsFilesSize(dir, "*.TXT", 1), txt_here + 10 + 7 + 3);
  EXPECT_EQ(dll().cRcsFilesSize(dir, "", 0), txt_here);
  EXPECT_EQ(dll().cRcsCountFileDir(-1, dir, "*.dAt", 0), 1);
  EXPECT_EQ(dll().cRcsFilesSize(dir, "?.txt", 1), txt_here + 10 + 7 + 3);

  // a.txt, B.TXT one cluster each, c.TXT two, e.TXT, f.txt and G.TXT one each.
  EXPECT_EQ(dll().cRcsFilesSizeOnDisk(dir, "*.Txt", 1), 7.0 * cluster);
  double size = -5, on_disk = -5;
  int32_t slack = dll().cRcsFilesSlack(dir, "*.txt", 1, &size, &on_disk);
  EXPECT_EQ(size, txt_here + 20);
  EXPECT_EQ(on_disk, 7.0 * cluster);
  EXPECT_EQ(slack, static_cast<int32_t>(static_cast<float>((on_disk - size) / on_disk * 100.0)));

  size = on_disk = -5;
  EXPECT_EQ(dll().cRcsFilesSlack(dir, "*.none", 1, &size, &on_disk), -1);
  EXPECT_EQ(size, 0);
  EXPECT_EQ(on_disk, 0);
}

TEST_F(Tree, EmptyDirIsTheCurrentFolder) {
  CurrentDirScope here(t.path());
  EXPECT_EQ(dll().cRcsCountFileDir(-1, "", "", 0), 4);
  EXPECT_EQ(dll().cRcsCountFileDir(-1, "", "*.TXT", 1), 6);  // the walk goes below too
  EXPECT_EQ(dll().cRcsFilesSize("", "*.TXT", 0), 2.0 * cluster + 2);
  EXPECT_EQ(dll().cRcsFilesSize("sub", "*.txt", 1), 20);
}

TEST_F(Tree, OverlongPatternIsRefused) {
  std::string longest = "*" + std::string(254, '?');  // 255 characters: accepted
  EXPECT_EQ(dll().cRcsCountFileDir(0, t.path().c_str(), longest.c_str(), 0), 1);
  std::string over = longest + "*";
  EXPECT_EQ(dll().cRcsCountFileDir(0, t.path().c_str(), over.c_str(), 0), 0);
  EXPECT_EQ(dll().cRcsCountFileDir(-1, t.path().c_str(), over.c_str(), 0), 0);
  EXPECT_EQ(dll().cRcsFilesSize(t.path().c_str(), over.c_str(), 1), 0);
  double size = -5, on_disk = -5;
  EXPECT_EQ(dll().cRcsFilesSlack(t.path().c_str(), over.c_str(), 1, &size, &on_disk), -1);
  EXPECT_EQ(size, 0);
  EXPECT_EQ(on_disk, 0);
}

TEST(Accounting, WalkSkipsPathsPastTheLimit) {
  // Folders whose paths pass 259 characters can exist (made here through the long-path
  // form); the walk counts them where it sees them but never reads inside them.
  TempDir t;
  auto wide = [](const std::string& s) { return std::wstring(L"\\\\?\\") + std::wstring(s.begin(), s.end()); };
  auto make_file = [&](const std::string& path) {
    HANDLE h = CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    DWORD written;
    WriteFile(h, "xx", 2, &written, nullptr);
    CloseHandle(h);
  };
  size_t room = 259 - t.path().size() - 1;
  std::string reachable = t / std::string(room - 6, 'L');  // 253 characters: "\*.*" still fits
  std::string past = reachable + "\\" + std::string(40, 'M');
  std::string edge = t / std::string(room - 2, 'K');  // 257: "\*.*" would make 261
  for (const std::string& d : {reachable, past, edge}) ASSERT_TRUE(CreateDirectoryW(wide(d).c_str(), nullptr)) << d;
  make_file(reachable + "\\y.TXT");  // counted
  make_file(past + "\\x.TXT");  // beyond the limit
  make_file(edge + "\\z.TXT");  // in a folder that cannot be searched

  EXPECT_EQ(dll().cRcsCountFileDir(0, t.path().c_str(), "", 1), 3);
  EXPECT_EQ(dll().cRcsCountFileDir(-1, t.path().c_str(), "", 1), 1);
  EXPECT_EQ(dll().cRcsFilesSize(t.path().c_str(), "", 1), 2);
  EXPECT_EQ(dll().cRcsCountFileDir(-1, edge.c_str(), "", 0), 0);
  EXPECT_EQ(dll().cRcsCountFileDir(-1, past.c_str(), "", 0), 0);

  for (const std::string& f : {past + "\\x.TXT", edge + "\\z.TXT", reachable + "\\y.TXT"}) DeleteFileW(wide(f).c_str());
  for (const std::string& d : {past, edge, reachable}) RemoveDirectoryW(wide(d).c_str());
}

}  // namespace vnk::test
