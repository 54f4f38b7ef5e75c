// The directory scan's records, checked directly (the scan and the file-service layer
// under it are compiled in here: they are no export), and the 5 GB file as the size exports report it.
#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <string>
#include <vector>

#include "paths/split_kernel.cpp"
#include "scan/scan.cpp"
#include "system/fs.cpp"
#include "system/text.cpp"
#include "tests/win/harness.h"

namespace vnk::test {
namespace {

std::vector<std::string> Names(const std::string& pattern) {
  std::vector<std::string> names;
  DirEntry e;
  ScopedScan scan(pattern.c_str(), &e);
  if (scan.ok()) do names.push_back(e.name); while (scan.Next(&e));
  return names;
}

// 5 GB that take no room: the file system keeps the unwritten range as a hole.
class BigFile : public ::testing::Test {
 protected:
  static constexpr int64_t kSize = 5LL << 30;
  void SetUp() override {
    path = t / "big.bin";
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LARGE_INTEGER at;
    at.QuadPart = kSize;
    bool ok = SetFilePointerEx(h, at, nullptr, FILE_BEGIN) && SetEndOfFile(h);
    CloseHandle(h);
    if (!ok) GTEST_SKIP() << "the file system cannot hold a 5 GB file";
  }
  void TearDown() override { DeleteFileA(path.c_str()); }
  TempDir t;
  std::string path;
};

}  // namespace

TEST(Scan, EntryRecord) {
  TempDir t;
  WriteBytes(t / "data.bin", std::string(1234, 'd'));
  MakeDir(t / "folder");
  // A known write time, in whole seconds.
  HANDLE h = CreateFileA((t / "data.bin").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  ULARGE_INTEGER stamp;
  stamp.QuadPart = (11644473600ULL + 1000000000ULL) * 10000000ULL;  // 2001-09-09 01:46:40 UTC
  FILETIME ft = {stamp.LowPart, stamp.HighPart};
  ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &ft));
  CloseHandle(h);

  DirEntry e;
  // A pattern without wildcards yields the entry itself, named without its path.
  ScopedScan file((t / "data.bin").c_str(), &e);
  ASSERT_TRUE(file.ok());
  EXPECT_STREQ(e.name, "data.bin");
  EXPECT_EQ(e.size, 1234u);
  EXPECT_EQ(e.size_high, 0u);
  EXPECT_EQ(e.attrib & ATTR_DIRECTORY, 0u);
  EXPECT_EQ(e.time_write, 1000000000);
  struct _stat st;
  ASSERT_EQ(_stat((t / "data.bin").c_str(), &st), 0);
  EXPECT_EQ(e.time_write, static_cast<int32_t>(st.st_mtime));
  EXPECT_GT(e.time_create, 0);
  EXPECT_GT(e.time_access, 0);
  EXPECT_FALSE(file.Next(&e));

  ScopedScan folder((t / "folder").c_str(), &e);
  ASSERT_TRUE(folder.ok());
  EXPECT_STREQ(e.name, "folder");
  EXPECT_NE(e.attrib & ATTR_DIRECTORY, 0u);
  EXPECT_EQ(e.size, 0u);
}

TEST(Scan, DotEntriesBelowARootOnly) {
  TempDir t;
  WriteBytes(t / "one", "1");
  std::vector<std::string> names = Names(t / "*.*");
  ASSERT_EQ(names.size(), 3u);
  EXPECT_EQ(names[0], ".");
  EXPECT_EQ(names[1], "..");
  EXPECT_EQ(names[2], "one");
  for (const std::string& n : Names("C:\\*.*")) EXPECT_TRUE(n != "." && n != "..") << n;
}

TEST(Scan, FailuresAndClosing) {
  TempDir t;
  DirEntry e;
  errno = 0;
  EXPECT_EQ(ScanFirst((t / "*.none").c_str(), &e), SCAN_NONE);
  EXPECT_EQ(errno, ENOENT);
  EXPECT_EQ(ScanFirst((t / "nowhere\\*.*").c_str(), &e), SCAN_NONE);
  EXPECT_EQ(errno, ENOENT);
  errno = 0;
  EXPECT_EQ(ScanClose(SCAN_NONE), -1);  // harmless
  EXPECT_EQ(errno, EINVAL);

  ScanHandle h = ScanFirst((t / "*.*").c_str(), &e);
  ASSERT_NE(h, SCAN_NONE);
  EXPECT_EQ(ScanNext(h, &e), 0);  // ".."
  EXPECT_EQ(ScanNext(h, &e), -1);
  EXPECT_EQ(errno, ENOENT);
  EXPECT_EQ(ScanClose(h), 0);

  // A kept scan: a new start replaces the old one even when it fails; the end of a
  // listing leaves it open until the next start.
  KeptScan kept;
  EXPECT_TRUE(kept.Start((t / "*.*").c_str(), &e));
  EXPECT_FALSE(kept.Start((t / "*.none").c_str(), &e));
  EXPECT_FALSE(kept.Next(&e));
  EXPECT_TRUE(kept.Start((t / "*.*").c_str(), &e));
  EXPECT_TRUE(kept.Next(&e));
  EXPECT_FALSE(kept.Next(&e));
  EXPECT_FALSE(kept.Next(&e));
  kept.Close();
  kept.Close();
}

TEST_F(BigFile, LowBitsInTheRecordAndInFileSizeFullSizeInTheTotals) {
  DirEntry e;
  ScopedScan scan(path.c_str(), &e);
  ASSERT_TRUE(scan.ok());
  EXPECT_EQ(e.size, 1u << 30);
  EXPECT_EQ(FullSize(e), static_cast<uint64_t>(kSize));

  EXPECT_EQ(dll().cFileSize(path.c_str()), 1 << 30);
  EXPECT_EQ(dll().cFilesSize(path.c_str()), 5368709120.0);
  EXPECT_EQ(dll().cFilesSize((t / "*.*").c_str()), 5368709120.0);
  EXPECT_EQ(dll().cRcsFilesSize(t.path().c_str(), "*", 0), 5368709120.0);
  double cluster = dll().cGetDiskClusterSize(path.c_str());
  EXPECT_EQ(dll().cFilesSizeOnDisk(path.c_str()), 5368709120.0);  // a whole number of clusters
  EXPECT_EQ(std::fmod(5368709120.0, cluster), 0);
}

}  // namespace vnk::test
