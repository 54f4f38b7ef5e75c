// Faults under the folder walks and around very large files: folders that vanish, or
// turn into files, while the tree walks, the recursive accounting and the file search
// run over them (a second thread changes the tree meanwhile); and sparse files of 5 GB
// through the size, comparison, accounting and copy exports.
#include <windows.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "host/host_args.h"
#include "tests/win/fault_util.h"

namespace vnk::test {
namespace {

using fault::Kept;
using fault::Tally;

// A tree with a stable part (stable\s1..s5, each holding a.txt and b.dat) beside a part
// that a second thread keeps changing: it makes folders (each with a file and a
// sub-folder), removes them again, and now and then puts a file where a folder was.
class ChurningTree {
 public:
  ChurningTree() {
    MakeDir(root_ / "stable");
    for (int i = 1; i <= 5; ++i) {
      std::string s = root_ / ("stable\\s" + std::to_string(i));
      MakeDir(s);
      WriteBytes(s + "\\A.TXT", std::string(100 * i, 'a'));
      WriteBytes(s + "\\B.DAT", "b");
      kept_.emplace_back(s + "\\A.TXT");
    }
    MakeDir(root_ / "churn");
    worker_ = std::thread([this] { Churn(); });
  }
  ~ChurningTree() { Stop(); }

  void Stop() {
    if (!worker_.joinable()) return;
    stop_ = true;
    worker_.join();
    Tally::Get().Fault(changes_);
  }

  const std::string& root() const { return root_.path(); }
  long changes() const { return changes_; }
  ::testing::AssertionResult StableKept() const {
    for (const Kept& k : kept_)
      if (auto r = k.Same(); !r) return r;
    return ::testing::AssertionSuccess();
  }

 private:
  void Churn() {
    for (unsigned i = 0; !stop_; ++i) {
      std::string c = root_ / ("churn\\c" + std::to_string(i % 16));
      DWORD attrib = GetFileAttributesA(c.c_str());
      if (attrib == INVALID_FILE_ATTRIBUTES) {
        if (i % 7 == 0) {
          // A file where a folder was a moment ago.
          HANDLE h = CreateFileA(c.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
          if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        } else if (CreateDirectoryA(c.c_str(), nullptr)) {
          CreateDirectoryA((c + "\\deeper").c_str(), nullptr);
          HANDLE h = CreateFileA((c + "\\X.TXT").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
          if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        }
      } else if (attrib & FILE_ATTRIBUTE_DIRECTORY) {
        DeleteFileA((c + "\\X.TXT").c_str());
        RemoveDirectoryA((c + "\\deeper").c_str());
        RemoveDirectoryA(c.c_str());
      } else {
        DeleteFileA(c.c_str());
      }
      ++changes_;
    }
  }

  TempDir root_;
  std::vector<Kept> kept_;
  std::thread worker_;
  std::atomic<bool> stop_{false};
  std::atomic<long> changes_{0};
};

}  // namespace

// Every walk goes on through folders that disappear under it: it answers, counts the
// stable part of the tree in full, leaves the current folder where it was, and changes
// nothing it was not asked to.
TEST(VanishingFolders, WalksAndSearchAgainstAChangingTree) {
  Tally::Get().Skip("unreadable folders",
                    "the tests run as root, who reads every folder whatever its permissions; folders that vanish "
                    "or become files during the walk take their place");
  ChurningTree tree;
  const std::string& root = tree.root();
  std::string stable = root + "\\stable";
  std::string cwd = CurrentDir();
  std::string result = root + "-found.txt";
  // Rounds for about four seconds, at least ten of them.
  ULONGLONG until = GetTickCount64() + 4000;
  for (int round = 0; round < 10 || GetTickCount64() < until; ++round) {
    int32_t count = 0;
    std::string listing = Take(FAULT_CALL(cAllSubDirectories, root.c_str(), &count));
    EXPECT_GE(count, 6);
    for (int i = 1; i <= 5; ++i)
      EXPECT_NE(listing.find(stable + "\\s" + std::to_string(i) + "\r"), std::string::npos) << "round " << round;
    // Whatever happens beside it, the stable part counts exactly.
    EXPECT_EQ(FAULT_CALL(cRcsCountFileDir, -1, stable.c_str(), "*.txt", -1), 5);
    EXPECT_EQ(FAULT_CALL(cRcsFilesSize, stable.c_str(), "*.TXT", -1), 1500.0);
    EXPECT_GE(FAULT_CALL(cRcsCountFileDir, -1, root.c_str(), "*.txt", -1), 5);
    EXPECT_GE(FAULT_CALL(cRcsCountFileDir, 0, root.c_str(), "", -1), 6);
    EXPECT_GE(FAULT_CALL(cRcsFilesSize, root.c_str(), "*", -1), 1505.0);
    double size = 0, on_disk = 0;
    int32_t slack = FAULT_CALL(cRcsFilesSlack, root.c_str(), "*", -1, &size, &on_disk);
    EXPECT_GE(size, 1505.0);
    EXPECT_GE(on_disk, size);
    EXPECT_TRUE(slack >= 0 && slack <= 100) << slack;
    int32_t found = FAULT_CALL(cSearchFile, root.c_str(), "*.txt", result.c_str());
    EXPECT_GE(found, 5);
    EXPECT_EQ(CurrentDir(), cwd);
    std::string lines = ReadBytes(result).value_or("");
    int n = 0;
    for (size_t at = 0; (at = lines.find("\r\n", at)) != std::string::npos; at += 2) ++n;
    EXPECT_EQ(n, found) << "the result file and the count disagree";
    FAULT_CALL(cCountDirectories, (root + "\\churn\\*.*").c_str());
    FAULT_CALL(cCountFiles, (root + "\\churn\\*").c_str());
    FAULT_CALL(cFilesSize, (root + "\\churn\\*").c_str());
    Take(FAULT_CALL(cSubDirectory, (root + "\\churn\\*").c_str(), -1));
    for (int k = 0; k < 20; ++k) Take(FAULT_CALL(cSubDirectory, "", 0));
    // Deletions inside the changing part touch nothing outside it.
    if (round % 4 == 3) {
      FAULT_CALL(cKillDirFilesAll, (root + "\\churn").c_str(), "*.txt");
      FAULT_CALL(cKillDirs, (root + "\\churn").c_str(), 0);
      EXPECT_TRUE(tree.StableKept());
    }
  }
  tree.Stop();
  DeleteFileA(result.c_str());
  EXPECT_TRUE(tree.StableKept());
  EXPECT_GT(tree.changes(), 0);
  printf("%ld changes to the tree during the walks\n", tree.changes());
}

// A walk that starts in a folder which is gone, and a search whose start vanishes: empty
// answers, and the current folder stays.
TEST(VanishingFolders, StartFolderGone) {
  TempDir t;
  std::string gone = t / "gone";
  MakeDir(gone);
  RemoveDirectoryA(gone.c_str());
  std::string cwd = CurrentDir();
  int32_t count = 0;
  EXPECT_EQ(Take(FAULT_CALL(cAllSubDirectories, gone.c_str(), &count)), "");
  EXPECT_EQ(count, -1);
  EXPECT_EQ(FAULT_CALL(cRcsCountFileDir, -1, gone.c_str(), "", -1), 0);
  EXPECT_EQ(FAULT_CALL(cRcsFilesSize, gone.c_str(), "", -1), 0.0);
  EXPECT_EQ(FAULT_CALL(cSearchFile, gone.c_str(), "*", ""), 0);
  EXPECT_EQ(FAULT_CALL(cKillDirs, gone.c_str(), -1), 0);
  EXPECT_EQ(FAULT_CALL(cKillDirFilesAll, gone.c_str(), "*"), 0);
  EXPECT_EQ(CurrentDir(), cwd);
  Tally::Get().Fault(7);
}

namespace {

// Sparse files that take no room: the file system keeps the unwritten range as a hole.
bool MakeSparse(const std::string& path, int64_t size, const std::string& head = "") {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD w = 0;
  bool ok = head.empty() || WriteFile(h, head.data(), static_cast<DWORD>(head.size()), &w, nullptr);
  LARGE_INTEGER at;
  at.QuadPart = size;
  ok = ok && SetFilePointerEx(h, at, nullptr, FILE_BEGIN) && SetEndOfFile(h);
  CloseHandle(h);
  return ok;
}

int64_t RealSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d)) return -1;
  return (static_cast<int64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

class FiveGigabytes : public ::testing::Test {
 protected:
  static constexpr int64_t kFive = 5LL << 30;
  void SetUp() override {
    one_ = t_ / "ONE.BIN";
    two_ = t_ / "TWO.BIN";
    if (!MakeSparse(one_, kFive, "head") || !MakeSparse(two_, kFive, "head")) {
      Tally::Get().Skip("5 GB files", "the file system cannot hold a sparse 5 GB file");
      GTEST_SKIP() << "the file system cannot hold a sparse 5 GB file";
    }
  }
  void TearDown() override {
    for (const std::string& p : fault::FileNames(t_.path())) {
      SetFileAttributesA((t_ / p).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA((t_ / p).c_str());
    }
  }
  TempDir t_;
  std::string one_, two_;
};

}  // namespace

// Size and comparison: the low 32 bits as the size (1 GB for 5 GB), while emptiness and
// the comparisons go by the whole size: 4 GB is neither empty nor the size of an empty
// file, and files of different real sizes never have the same size or content.
TEST_F(FiveGigabytes, SizeAndComparison) {
  EXPECT_EQ(FAULT_CALL(cFileSize, one_.c_str()), 1 << 30);
  EXPECT_EQ(FAULT_CALL(cIsFileEmpty, one_.c_str()), 0);
  EXPECT_EQ(FAULT_CALL(cCmpFileSize, one_.c_str(), two_.c_str()), 0);
  std::string four = t_ / "four.dat", three = t_ / "three.dat", over = t_ / "over4g.dat";
  std::string small = t_ / "small.dat", empty = t_ / "empty.dat";
  ASSERT_TRUE(MakeSparse(four, 4LL << 30));
  ASSERT_TRUE(MakeSparse(three, 3LL << 30));
  ASSERT_TRUE(MakeSparse(over, (4LL << 30) + 10));
  WriteBytes(small, std::string(10, '\0'));
  WriteBytes(empty, "");
  EXPECT_EQ(FAULT_CALL(cFileSize, four.c_str()), 0);
  EXPECT_EQ(FAULT_CALL(cIsFileEmpty, four.c_str()), 0) << "a file of 4 GB reported empty";
  EXPECT_EQ(FAULT_CALL(cCmpFileSize, four.c_str(), empty.c_str()), 1);
  EXPECT_EQ(FAULT_CALL(cCmpFileSize, empty.c_str(), four.c_str()), -1);
  EXPECT_EQ(FAULT_CALL(cCmpFileContents, four.c_str(), empty.c_str(), -1), 0);
  // 3 GB: cFileSize gives the low 32 bits as a negative Long, which a VB program widens
  // by adding 2^32; the comparison orders 3 GB below 5 GB, whose low bits are 1 GB.
  EXPECT_EQ(FAULT_CALL(cFileSize, three.c_str()), -(1 << 30));
  EXPECT_EQ(FAULT_CALL(cCmpFileSize, one_.c_str(), three.c_str()), 1);
  EXPECT_EQ(FAULT_CALL(cCmpFileSize, three.c_str(), one_.c_str()), -1);
  EXPECT_EQ(FAULT_CALL(cCmpFileSize, three.c_str(), small.c_str()), 1);
  // 4 GB and ten bytes against ten bytes: the low 32 bits agree, the sizes do not.
  EXPECT_EQ(FAULT_CALL(cCmpFileSize, over.c_str(), small.c_str()), 1);
  EXPECT_EQ(FAULT_CALL(cCmpFileContents, over.c_str(), small.c_str(), -1), 0);
  EXPECT_EQ(FAULT_CALL(cCmpFileContents, small.c_str(), over.c_str(), 0), 0);
  // A load checks the whole size too: ten bytes of array are not loaded from it, and
  // keep their bytes.
  HostArray ten(VT_UI1, 0, 10);
  std::memset(ten.data(), 'Z', 10);
  EXPECT_EQ(FAULT_CALL(cArrayOnDisk, over.c_str(), ten.ref(), 1), -16);
  EXPECT_EQ(std::string(static_cast<const char*>(ten.data()), 10), std::string(10, 'Z'));
  EXPECT_EQ(FAULT_CALL(cCmpFileAttribute, one_.c_str(), two_.c_str()), -1);
  EXPECT_NE(Take(FAULT_CALL(cFileLastDateModified, one_.c_str())), "");
  Tally::Get().Fault(18);
}

// The accounting adds whole 64-bit sizes: two files of 5 GB are 10 GB.
TEST_F(FiveGigabytes, Accounting) {
  std::string pattern = t_ / "*.bin";
  EXPECT_EQ(FAULT_CALL(cFilesSize, pattern.c_str()), 2.0 * kFive);
  EXPECT_EQ(FAULT_CALL(cCountFiles, pattern.c_str()), 2);
  double cluster = FAULT_CALL(cGetDiskClusterSize, t_.path().c_str());
  ASSERT_GT(cluster, 0);
  EXPECT_EQ(FAULT_CALL(cFilesSizeOnDisk, pattern.c_str()), 2.0 * kFive);
  double size = 0, on_disk = 0;
  EXPECT_EQ(FAULT_CALL(cFilesSlack, pattern.c_str(), &size, &on_disk), 0);
  EXPECT_EQ(size, 2.0 * kFive);
  EXPECT_EQ(on_disk, 2.0 * kFive);
  EXPECT_EQ(FAULT_CALL(cRcsFilesSize, t_.path().c_str(), "*.BIN", 0), 2.0 * kFive);
  EXPECT_EQ(FAULT_CALL(cRcsFilesSizeOnDisk, t_.path().c_str(), "*.BIN", -1), 2.0 * kFive);
  EXPECT_EQ(FAULT_CALL(cRcsFilesSlack, t_.path().c_str(), "*.BIN", -1, &size, &on_disk), 0);
  EXPECT_EQ(size, 2.0 * kFive);
  EXPECT_EQ(FAULT_CALL(cRcsCountFileDir, -1, t_.path().c_str(), "*.BIN", 0), 2);
  Tally::Get().Fault(11);
}

// Copying 5 GB for real would write 5 GB; instead each copy and the move go onto the
// full disk, where they must fail at once and leave the 5 GB source as it was.
TEST_F(FiveGigabytes, CopiesAndMoveOntoAFullDisk) {
  Tally::Get().Skip("a real copy of 5 GB", "would write 5 GB; the copies are sent to the full disk instead, "
                                           "and the comparison and accounting exports read the 5 GB files");
  auto disk = FullDisk();
  if (!disk) GTEST_SKIP() << "no small file system mounted for this run (needs root)";
  std::string target = *disk + "\\big.bin";
  int32_t copied = FAULT_CALL(cFileCopy, one_.c_str(), target.c_str());
  EXPECT_TRUE(copied == RC_WRITE_FAILED || copied == RC_WRITE_SHORT) << copied;
  EXPECT_FALSE(Exists(target));
  EXPECT_EQ(FAULT_CALL(cFileCopy2, one_.c_str(), target.c_str()), ERROR_DISK_FULL);
  DeleteFileA(target.c_str());
  EXPECT_EQ(FAULT_CALL(cFileMove, one_.c_str(), target.c_str()), ERROR_DISK_FULL);
  DeleteFileA(target.c_str());
  // The source is still there, whole: its size, and its first bytes.
  EXPECT_EQ(RealSize(one_), kFive);
  std::optional<std::string> head;
  {
    FILE* f = fopen(one_.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char buf[4];
    head = std::string(buf, fread(buf, 1, 4, f));
    fclose(f);
  }
  EXPECT_EQ(head, std::optional<std::string>("head"));
  Tally::Get().Fault(3);
}

}  // namespace vnk::test
