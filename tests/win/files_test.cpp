// Size questions, content comparison, copy, move, rename, unique names, single-file
// deletion and existence, called through the DLL as a VB program calls them.
#include "tests/win/harness.h"

namespace vnk::test {
namespace {

class Files : public ::testing::Test {
 protected:
  TempDir dir;
  std::string P(std::string_view name) const { return dir / name; }
};

// Holds a file open with no sharing at all, so that nobody else can open it.
class Locked {
 public:
  explicit Locked(const std::string& path)
      : h_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  ~Locked() { CloseHandle(h_); }
  bool ok() const { return h_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE h_;
};

TEST_F(Files, SizeQuestions) {
  WriteBytes(P("five"), "12345");
  WriteBytes(P("empty"), "");
  EXPECT_EQ(dll().cFileSize(P("five").c_str()), 5);
  EXPECT_EQ(dll().cFileSize(P("missing").c_str()), -1);
  EXPECT_EQ(dll().cFileSize(P("f*").c_str()), -1);
  EXPECT_EQ(dll().cFileSize(P("fiv?").c_str()), -1);
  EXPECT_EQ(dll().cFileSize("C:"), -1);
  EXPECT_EQ(dll().cFileSize("C:\\"), 0);
  EXPECT_EQ(dll().cFileSize(dir.path().c_str()), 0);

  EXPECT_EQ(dll().cIsFileEmpty(P("empty").c_str()), -1);
  EXPECT_EQ(dll().cIsFileEmpty(P("five").c_str()), 0);
  EXPECT_EQ(dll().cIsFileEmpty(P("missing").c_str()), 0);  // size -1 is not empty
  EXPECT_EQ(dll().cIsFileEmpty(dir.path().c_str()), -1);   // a folder has size 0

  EXPECT_EQ(dll().cCmpFileSize(P("empty").c_str(), P("five").c_str()), -1);
  EXPECT_EQ(dll().cCmpFileSize(P("five").c_str(), P("empty").c_str()), 1);
  EXPECT_EQ(dll().cCmpFileSize(P("five").c_str(), P("five").c_str()), 0);
  EXPECT_EQ(dll().cCmpFileSize(P("five").c_str(), P("missing").c_str()), -2);
  EXPECT_EQ(dll().cCmpFileSize(P("missing").c_str(), P("five").c_str()), -2);
}

TEST_F(Files, ContentComparisonModes) {
  WriteBytes(P("a"), "Hello World");
  WriteBytes(P("b"), "hELLO wORLD");
  WriteBytes(P("c"), "Hello Worle");
  WriteBytes(P("e1"), "");
  WriteBytes(P("e2"), "");
  EXPECT_EQ(dll().cCmpFileContents(P("e1").c_str(), P("e2").c_str(), -1), -1);
  EXPECT_EQ(dll().cCmpFileContents(P("a").c_str(), P("b").c_str(), 0), -1);
  EXPECT_EQ(dll().cCmpFileContents(P("a").c_str(), P("b").c_str(), 1), -1);  // only -1 is exact
  EXPECT_EQ(dll().cCmpFileContents(P("a").c_str(), P("b").c_str(), -1), 0);
  EXPECT_EQ(dll().cCmpFileContents(P("a").c_str(), P("c").c_str(), 0), 0);
  EXPECT_EQ(dll().cCmpFileContents(P("a").c_str(), P("missing").c_str(), 0), 0);
  EXPECT_EQ(dll().cCmpFileContents(P("a").c_str(), P("e1").c_str(), 0), 0);  // sizes differ
  // The mode is an Integer: only its low 16 bits count, so 0x1FFFF is -1 (exact).
  EXPECT_EQ(dll().cCmpFileContents(P("a").c_str(), P("b").c_str(), 0x1FFFF), 0);
}

TEST_F(Files, ContentComparisonSeesEveryByte) {
  // A difference after a zero byte, and one in the second block, both count.
  std::string base = RandomBytes(70000, 1);
  base[100] = '\0';
  std::string after_zero = base, second_block = base;
  after_zero[101] ^= 1;
  second_block[40000] ^= 1;
  WriteBytes(P("base"), base);
  WriteBytes(P("copy"), base);
  WriteBytes(P("after_zero"), after_zero);
  WriteBytes(P("second_block"), second_block);
  for (int mode : {-1, 0}) {
    EXPECT_EQ(dll().cCmpFileContents(P("base").c_str(), P("copy").c_str(), mode), -1);
    EXPECT_EQ(dll().cCmpFileContents(P("base").c_str(), P("after_zero").c_str(), mode), 0);
    EXPECT_EQ(dll().cCmpFileContents(P("base").c_str(), P("second_block").c_str(), mode), 0);
  }
}

TEST_F(Files, ContentComparisonOpenFailuresAreSixteenBitCodes) {
  WriteBytes(P("a"), "same");
  WriteBytes(P("b"), "same");
  {
    Locked lock(P("a"));
    ASSERT_TRUE(lock.ok());
    EXPECT_EQ(dll().cCmpFileContents(P("a").c_str(), P("b").c_str(), 0), RC_CANT_OPEN_FIRST);
  }
  {
    Locked lock(P("b"));
    EXPECT_EQ(dll().cCmpFileContents(P("a").c_str(), P("b").c_str(), 0), RC_CANT_OPEN_SECOND);
  }
}

TEST_F(Files, CopyBlockBoundaries) {
  for (size_t n : {size_t{0}, size_t{1}, size_t{32767}, size_t{32768}, size_t{32769}, size_t{100000}}) {
    std::string data = RandomBytes(n, static_cast<uint32_t>(n));
    WriteBytes(P("src"), data);
    EXPECT_EQ(dll().cFileCopy(P("src").c_str(), P("dst").c_str()), static_cast<int32_t>(n));
    EXPECT_EQ(ReadBytes(P("dst")), data) << n;
  }
  // An existing target is overwritten without asking, and shrinks to the source's size.
  WriteBytes(P("src"), "xy");
  WriteBytes(P("dst"), "a much longer old content");
  EXPECT_EQ(dll().cFileCopy(P("src").c_str(), P("dst").c_str()), 2);
  EXPECT_EQ(ReadBytes(P("dst")), "xy");
}

TEST_F(Files, CopyOpenFailures) {
  WriteBytes(P("keep"), "old target");
  // A missing source creates nothing and leaves an existing target alone. Long results
  // carry the code as a full 32-bit negative.
  EXPECT_EQ(dll().cFileCopy(P("missing").c_str(), P("new").c_str()), -32750);
  EXPECT_FALSE(Exists(P("new")));
  EXPECT_EQ(dll().cFileCopy(P("missing").c_str(), P("keep").c_str()), -32750);
  EXPECT_EQ(ReadBytes(P("keep")), "old target");
  // A read-only target is not overwritten.
  ASSERT_TRUE(SetFileAttributesA(P("keep").c_str(), FILE_ATTRIBUTE_READONLY));
  WriteBytes(P("src"), "data");
  EXPECT_EQ(dll().cFileCopy(P("src").c_str(), P("keep").c_str()), RC_CANT_OPEN_SECOND);
  EXPECT_EQ(ReadBytes(P("keep")), "old target");
  // A target in a missing folder.
  EXPECT_EQ(dll().cFileCopy(P("src").c_str(), P("nodir\\x").c_str()), RC_CANT_OPEN_SECOND);
  // Names beyond the 255-character buffers are refused, nothing written.
  std::string long_name = P(std::string(256 - dir.path().size(), 'L'));
  ASSERT_EQ(long_name.size(), 257u);
  EXPECT_EQ(dll().cFileCopy(long_name.c_str(), P("x").c_str()), RC_CANT_OPEN_FIRST);
  EXPECT_EQ(dll().cFileCopy(P("src").c_str(), long_name.c_str()), RC_CANT_OPEN_SECOND);
  EXPECT_FALSE(Exists(P("x")));
  // The source is opened first, so a missing one decides even beside a long target.
  EXPECT_EQ(dll().cFileCopy(P("missing").c_str(), long_name.c_str()), RC_CANT_OPEN_FIRST);
}

TEST_F(Files, CopyOntoItselfIsRefusedUnderAnySpelling) {
  std::string data = RandomBytes(5000, 7);
  WriteBytes(P("Self.bin"), data);
  std::string upper = dir.path() + "\\SELF.BIN";
  std::string dotted = dir.path() + "\\.\\Self.bin";
  for (const std::string& target : {P("Self.bin"), upper, dotted}) {
    EXPECT_EQ(dll().cFileCopy(P("Self.bin").c_str(), target.c_str()), RC_CANT_OPEN_SECOND) << target;
    EXPECT_EQ(ReadBytes(P("Self.bin")), data);
  }
  // The same file through a hard link.
  ASSERT_TRUE(CreateHardLinkA(P("link.bin").c_str(), P("Self.bin").c_str(), nullptr));
  EXPECT_EQ(dll().cFileCopy(P("link.bin").c_str(), P("Self.bin").c_str()), RC_CANT_OPEN_SECOND);
  EXPECT_EQ(ReadBytes(P("Self.bin")), data);
}

TEST_F(Files, CopyWriteFailureDeletesTarget) {
  std::optional<std::string> full = FullDisk();
  if (!full) GTEST_SKIP() << "no tiny file system mounted for this run (needs root)";
  std::string data = RandomBytes(200000, 3);
  WriteBytes(P("big"), data);
  std::string target = *full + "\\copy.bin";
  int32_t r = dll().cFileCopy(P("big").c_str(), target.c_str());
  EXPECT_TRUE(r == RC_WRITE_FAILED || r == RC_WRITE_SHORT) << r;
  EXPECT_FALSE(Exists(target));
  EXPECT_EQ(ReadBytes(P("big")), data);
}

TEST_F(Files, PlatformCopyAndMove) {
  WriteBytes(P("a"), "alpha");
  WriteBytes(P("b"), "beta");
  EXPECT_EQ(dll().cFileCopy2(P("a").c_str(), P("b").c_str()), -1);
  EXPECT_EQ(ReadBytes(P("b")), "alpha");
  EXPECT_EQ(dll().cFileCopy2(P("missing").c_str(), P("c").c_str()), ERROR_FILE_NOT_FOUND);

  WriteBytes(P("m"), "moved");
  EXPECT_EQ(dll().cFileMove(P("m").c_str(), P("b").c_str()), -1);
  EXPECT_EQ(ReadBytes(P("b")), "moved");
  EXPECT_FALSE(Exists(P("m")));
  EXPECT_EQ(dll().cFileMove(P("m").c_str(), P("c").c_str()), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(dll().cFileMove(P("a").c_str(), P("nodir\\c").c_str()), ERROR_PATH_NOT_FOUND);
}

TEST_F(Files, RenameReportsErrorNumbers) {
  WriteBytes(P("old"), "x");
  WriteBytes(P("taken"), "y");
  EXPECT_EQ(dll().cRenameFile(P("old").c_str(), P("taken").c_str()), 17);
  EXPECT_EQ(ReadBytes(P("taken")), "y");
  EXPECT_EQ(dll().cRenameFile(P("old").c_str(), P("new").c_str()), -1);
  EXPECT_EQ(ReadBytes(P("new")), "x");
  EXPECT_EQ(dll().cRenameFile(P("old").c_str(), P("newer").c_str()), 2);
  EXPECT_EQ(dll().cRenameFile(P("new").c_str(), P("nodir\\x").c_str()), 2);
}

// A new name that is another entry of the same file exists like any other: the rename
// and the move refuse it and both names stay. Only the same entry in other letter case
// is renamed.
TEST_F(Files, RenameOntoAnotherNameOfTheSameFile) {
  WriteBytes(P("one"), "same file");
  ASSERT_TRUE(CreateHardLinkA(P("two").c_str(), P("one").c_str(), nullptr));
  EXPECT_EQ(dll().cRenameFile(P("one").c_str(), P("two").c_str()), 17);
  EXPECT_EQ(dll().cFileMove(P("one").c_str(), P("two").c_str()), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(ReadBytes(P("one")), "same file");
  EXPECT_EQ(ReadBytes(P("two")), "same file");

  // (Wine keeps the spelling the file system has; Windows takes the new one.)
  EXPECT_EQ(dll().cRenameFile(P("one").c_str(), P("ONE").c_str()), -1);
  EXPECT_EQ(dll().cFileMove(P("ONE").c_str(), P("One").c_str()), -1);
  EXPECT_EQ(ReadBytes(P("one")), "same file");
}

TEST_F(Files, UniqueNames) {
  CurrentDirScope here(dir.path());
  char digits[8];
  snprintf(digits, sizeof digits, "%05lu", GetCurrentProcessId() % 100000);
  auto unique = [](std::string_view prefix) {
    Bstr p(prefix);
    return Take(dll().cUniqueFileName(p.slot()));
  };
  EXPECT_EQ(unique(""), std::string("~~a") + digits);
  EXPECT_EQ(unique("Q"), std::string("Q~a") + digits);
  EXPECT_EQ(unique("AB"), std::string("ABa") + digits);
  EXPECT_EQ(unique("ABC"), std::string("~~a") + digits);  // longer prefixes are ignored
  Bstr null_slot;
  EXPECT_EQ(Take(dll().cUniqueFileName(null_slot.slot())), std::string("~~a") + digits);

  // Taken names advance the letter; a folder takes a name as well as a file does.
  WriteBytes(dir / (std::string("~~a") + digits), "");
  MakeDir(dir / (std::string("~~b") + digits));
  EXPECT_EQ(unique(""), std::string("~~c") + digits);
  // The name is not reserved: asking again gives the same name.
  EXPECT_EQ(unique(""), std::string("~~c") + digits);
  // All 26 letters taken: the empty string.
  for (char c = 'c'; c <= 'z'; ++c) WriteBytes(dir / (std::string("~~") + c + digits), "");
  EXPECT_EQ(unique(""), "");
}

TEST_F(Files, KillFileAndExistence) {
  WriteBytes(P("plain"), "x");
  WriteBytes(P("ro"), "x");
  ASSERT_TRUE(SetFileAttributesA(P("ro").c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(dll().cFilePathExists(P("plain").c_str()), -1);
  EXPECT_EQ(dll().cFilePathExists(dir.path().c_str()), -1);
  EXPECT_EQ(dll().cFilePathExists("C:\\"), -1);
  EXPECT_EQ(dll().cFilePathExists(P("missing").c_str()), 2);
  EXPECT_EQ(dll().cFilePathExists(P("nodir\\missing").c_str()), 2);

  EXPECT_EQ(dll().cKillFile(P("missing").c_str()), -1);  // nothing to delete is success
  EXPECT_EQ(dll().cKillFile(P("ro").c_str()), 13);
  EXPECT_TRUE(Exists(P("ro")));
  EXPECT_EQ(dll().cKillFile(P("plain").c_str()), -1);
  EXPECT_FALSE(Exists(P("plain")));
  EXPECT_EQ(dll().cFilePathExists(P("plain").c_str()), 2);
}

}  // namespace
}  // namespace vnk::test
