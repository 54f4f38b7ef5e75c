// cFileCompressTab, cFileExpandTab, cFileToUpper, cFileToLower and cFileChangeChars,
// called as a VB program calls them.
#include "tests/win/harness.h"

namespace vnk::test {
namespace {

std::string Read(const std::string& path) { return ReadBytes(path).value_or("<missing>"); }

class Transforms : public ::testing::Test {
 protected:
  TempDir dir;
  std::string src = dir / "src.txt", dst = dir / "dst.txt";
  // Writes `content` as the source, runs `call` and returns the target's bytes.
  template <class F>
  std::string Run(const std::string& content, int32_t expected_result, F call) {
    WriteBytes(src, content);
    EXPECT_EQ(call(src.c_str(), dst.c_str()), expected_result);
    return Read(dst);
  }
};

TEST_F(Transforms, CompressTabReplacesEveryRun) {
  auto compress4 = [](const char* s, const char* t) { return dll().cFileCompressTab(s, t, 4); };
  EXPECT_EQ(Run("         |a    b|   |\t", 13, compress4), "\t\t |a\tb|   |\t");
  EXPECT_EQ(Run("", 0, compress4), "");
}

TEST_F(Transforms, CompressTabRunDoesNotCrossTheBlock) {
  // Ten blanks at offsets 32763 to 32772: five before the boundary, five after.
  std::string content(40000, 'x');
  content.replace(32763, 10, 10, ' ');
  std::string out = Run(content, 40000, [](const char* s, const char* t) { return dll().cFileCompressTab(s, t, 8); });
  EXPECT_EQ(out, content);
  // Moved one byte earlier, eight of the blanks lie in the first block.
  content = std::string(40000, 'x');
  content.replace(32758, 10, 10, ' ');
  std::string expected = content.substr(0, 32758) + "\t" + std::string(2, ' ') + content.substr(32768);
  EXPECT_EQ(Run(content, 39993, [](const char* s, const char* t) { return dll().cFileCompressTab(s, t, 8); }),
            expected);
}

TEST_F(Transforms, TabSizeBelowTwoIsAPlainCopy) {
  std::string content = "a\t    b\r\n" + RandomBytes(33000, 7);
  for (int32_t tab : {1, 0, -5}) {
    EXPECT_EQ(Run(content, 33009, [tab](const char* s, const char* t) { return dll().cFileCompressTab(s, t, tab); }),
              content);
    EXPECT_EQ(Run(content, 33009, [tab](const char* s, const char* t) { return dll().cFileExpandTab(s, t, tab); }),
              content);
  }
  // The plain copy's own answers come back too.
  EXPECT_EQ(dll().cFileExpandTab((dir / "missing").c_str(), dst.c_str(), 0), RC_CANT_OPEN_FIRST);
}

TEST_F(Transforms, ExpandTabIgnoresColumns) {
  EXPECT_EQ(Run("x\ty", 6, [](const char* s, const char* t) { return dll().cFileExpandTab(s, t, 4); }), "x    y");
}

TEST_F(Transforms, ExpandTabLimitIsTestedPerBlock) {
  auto expand3 = [](const char* s, const char* t) { return dll().cFileExpandTab(s, t, 3); };
  // 10922 TABs in a full block pass: 32768 + 3 * 10922 <= 65536.
  std::string block = std::string(10922, '\t') + std::string(32768 - 10922, 'z');
  std::string out = Run(block + "\t", 32768 - 10922 + 3 * 10923, expand3);
  EXPECT_EQ(out.size(), static_cast<size_t>(32768 - 10922 + 3 * 10923));
  // 10923 TABs in one block give -2 and leave the old target; as many over two blocks pass.
  std::string over = std::string(10923, '\t') + std::string(32768 - 10923, 'z');
  WriteBytes(dst, "old target");
  Run(over, -2, expand3);
  EXPECT_EQ(Read(dst), "old target");
  EXPECT_EQ(Read(src), over);
  Run(std::string(32768 - 5000, 'z') + std::string(10923, '\t'), 32768 - 5000 + 3 * 10923, expand3);

  auto expand_huge = [](const char* s, const char* t) { return dll().cFileExpandTab(s, t, 70000); };
  DeleteFileA(dst.c_str());
  Run("a\tb", -2, expand_huge);
  EXPECT_FALSE(Exists(dst));
  EXPECT_EQ(Run("no tabs here", 12, expand_huge), "no tabs here");
}

TEST_F(Transforms, CaseMappingTouchesOnlyAsciiLetters) {
  std::string content = "abz{`@AZ[\xE9\xC9\xFF";
  EXPECT_EQ(Run(content, 12, [](const char* s, const char* t) { return dll().cFileToUpper(s, t); }),
            "ABZ{`@AZ[\xE9\xC9\xFF");
  EXPECT_EQ(Run(content, 12, [](const char* s, const char* t) { return dll().cFileToLower(s, t); }),
            "abz{`@az[\xE9\xC9\xFF");
}

TEST_F(Transforms, OpenFailures) {
  EXPECT_EQ(dll().cFileToUpper((dir / "missing").c_str(), dst.c_str()), RC_CANT_OPEN_FIRST);
  EXPECT_FALSE(Exists(dst));
  WriteBytes(src, "abc");
  EXPECT_EQ(dll().cFileCompressTab(src.c_str(), (dir / "no\\such\\dir.txt").c_str(), 4), RC_CANT_OPEN_SECOND);
  EXPECT_EQ(dll().cFileToLower(src.c_str(), (dir / "no\\x.txt").c_str()), RC_CANT_OPEN_SECOND);
}

TEST_F(Transforms, PathsOverTheBufferAreRefused) {
  std::string long_name = dir / std::string(300, 'n');
  WriteBytes(src, "abc");
  EXPECT_EQ(dll().cFileToUpper(long_name.c_str(), dst.c_str()), RC_CANT_OPEN_FIRST);
  EXPECT_EQ(dll().cFileExpandTab(src.c_str(), long_name.c_str(), 4), RC_CANT_OPEN_SECOND);
  EXPECT_FALSE(Exists(dst));
}

TEST_F(Transforms, TargetThatIsTheSourceIsRefused) {
  std::string content = "Keep   me\tas I am";
  WriteBytes(src, content);
  std::string other_case = dir / "SRC.TXT";
  std::string other_path = dir / "..\\" + dir.path().substr(dir.path().rfind('\\') + 1) + "\\src.txt";
  std::string link = dir / "link.txt";
  ASSERT_TRUE(CreateHardLinkA(link.c_str(), src.c_str(), nullptr));
  for (const std::string& target : {src, other_case, other_path, link}) {
    EXPECT_EQ(dll().cFileCompressTab(src.c_str(), target.c_str(), 2), RC_CANT_OPEN_SECOND) << target;
    EXPECT_EQ(dll().cFileExpandTab(src.c_str(), target.c_str(), 2), RC_CANT_OPEN_SECOND) << target;
    EXPECT_EQ(dll().cFileToUpper(src.c_str(), target.c_str()), RC_CANT_OPEN_SECOND) << target;
    EXPECT_EQ(dll().cFileToLower(src.c_str(), target.c_str()), RC_CANT_OPEN_SECOND) << target;
    EXPECT_EQ(dll().cFileCompressTab(src.c_str(), target.c_str(), 1), RC_CANT_OPEN_SECOND) << target;
    EXPECT_EQ(Read(src), content);
  }
}

TEST_F(Transforms, FullDiskDeletesTheTarget) {
  auto full = FullDisk();
  if (!full) GTEST_SKIP() << "no tiny file system mounted for this run";
  std::string content = RandomBytes(200000, 11);
  WriteBytes(src, content);
  std::string target = *full + "\\upper.txt";
  int32_t r = dll().cFileToUpper(src.c_str(), target.c_str());
  EXPECT_TRUE(r == RC_WRITE_FAILED || r == RC_WRITE_SHORT) << r;
  EXPECT_FALSE(Exists(target));
  r = dll().cFileExpandTab(src.c_str(), target.c_str(), 2);
  EXPECT_TRUE(r == RC_WRITE_FAILED || r == RC_WRITE_SHORT) << r;
  EXPECT_FALSE(Exists(target));
  EXPECT_EQ(Read(src), content);
}

class ChangeChars : public ::testing::Test {
 protected:
  TempDir dir;
  std::string file = dir / "data.bin";
  int32_t Change(std::string_view from, std::string_view to, const std::string& work = "") {
    Bstr f(from), t(to);
    return dll().cFileChangeChars(file.c_str(), f.slot(), t.slot(), work.c_str());
  }
};

TEST_F(ChangeChars, SubstitutionsChainForward) {
  CurrentDirScope here(dir.path());
  WriteBytes(file, "abcabc");
  EXPECT_EQ(Change("ab", "bc"), 6);
  EXPECT_EQ(Read(file), "cccccc");
  WriteBytes(file, "abcabc");
  EXPECT_EQ(Change("ab", "ba"), 6);
  EXPECT_EQ(Read(file), "aacaac");
  WriteBytes(file, "xyzzy");
  EXPECT_EQ(Change("xyz", "Q"), 5);
  EXPECT_EQ(Read(file), "Qyzzy");
  WriteBytes(file, std::string("a\0b\0\0", 5));
  EXPECT_EQ(Change(std::string_view("\0", 1), "."), 5);
  EXPECT_EQ(Read(file), "a.b..");
  // The default work file is made in the current directory and gone afterwards.
  EXPECT_FALSE(Exists(dir / "~!!TMP~.TMP"));
}

TEST_F(ChangeChars, LargeFileAndNamedWorkFile) {
  std::string content = RandomBytes(100000, 5);
  WriteBytes(file, content);
  std::string work = dir / "work.tmp";
  EXPECT_EQ(Change("\x01\x02", "\x02\x03", work), 100000);
  for (char& c : content)
    if (c == 1 || c == 2) c = 3;
  EXPECT_EQ(Read(file), content);
  EXPECT_FALSE(Exists(work));
}

TEST_F(ChangeChars, NothingToDoOpensNothing) {
  CurrentDirScope here(dir.path());
  EXPECT_EQ(Change("", "b"), 0);
  EXPECT_EQ(Change("a", ""), 0);  // the file does not even exist
  Bstr f("a"), t("b");
  EXPECT_EQ(dll().cFileChangeChars("", f.slot(), t.slot(), ""), 0);
  EXPECT_FALSE(Exists(dir / "~!!TMP~.TMP"));
}

TEST_F(ChangeChars, FailuresLeaveTheFile) {
  CurrentDirScope here(dir.path());
  EXPECT_EQ(Change("a", "b"), RC_CANT_OPEN_FIRST);
  // File is opened before the work file: its failure decides over a work name too long.
  EXPECT_EQ(Change("a", "b", std::string(300, 'w')), RC_CANT_OPEN_FIRST);
  WriteBytes(file, "abc");
  EXPECT_EQ(Change("a", "b", dir / "no\\such\\work"), RC_CANT_OPEN_SECOND);
  // A work file that is the file itself would truncate it.
  EXPECT_EQ(Change("a", "b", dir / "DATA.BIN"), RC_CANT_OPEN_SECOND);
  EXPECT_EQ(Change("a", "b", std::string(300, 'w')), RC_CANT_OPEN_SECOND);
  EXPECT_EQ(Read(file), "abc");
  EXPECT_FALSE(Exists(dir / "~!!TMP~.TMP"));
}

TEST_F(ChangeChars, CopyBackThatCannotOpenTheFileLeavesItAsItWas) {
  WriteBytes(file, "abc");
  // Another program reads the file and lets no one write it: the pass can read it, the
  // copy back cannot open it.
  HANDLE reader = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  std::string work = dir / "work.tmp";
  EXPECT_EQ(Change("a", "z", work), RC_CANT_OPEN_SECOND);
  CloseHandle(reader);
  EXPECT_EQ(Read(file), "abc");
  EXPECT_FALSE(Exists(work));  // nothing is lost: File can be rewritten again
}

}  // namespace
}  // namespace vnk::test
