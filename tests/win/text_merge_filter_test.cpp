// cFileMerge, cFileFilter and cFileFilterNot, called as a VB program calls them.
#include "tests/win/harness.h"

namespace vnk::test {
namespace {

std::string Read(const std::string& path) { return ReadBytes(path).value_or("<missing>"); }

class Merge : public ::testing::Test {
 protected:
  TempDir dir;
  std::string first = dir / "first", second = dir / "second", out = dir / "out";
  int32_t Run(const std::string& a, const std::string& b) {
    WriteBytes(first, a);
    WriteBytes(second, b);
    return dll().cFileMerge(first.c_str(), second.c_str(), out.c_str());
  }
};

TEST_F(Merge, JoinsAtTheByteBoundary) {
  EXPECT_EQ(Run("", "0123456789"), 10);
  EXPECT_EQ(Read(out), "0123456789");
  EXPECT_EQ(Run("", ""), 0);
  EXPECT_EQ(Read(out), "");
  EXPECT_EQ(Run("a", "b"), 2);
  EXPECT_EQ(Read(out), "ab");
  std::string a = RandomBytes(40000, 1), b = RandomBytes(70000, 2);
  EXPECT_EQ(Run(a, b), 110000);
  EXPECT_EQ(Read(out), a + b);
  // The same file twice is two inputs, not an output.
  EXPECT_EQ(dll().cFileMerge(first.c_str(), first.c_str(), out.c_str()), 80000);
}

TEST_F(Merge, OpenFailuresInOrder) {
  WriteBytes(first, "1");
  WriteBytes(second, "2");
  std::string missing = dir / "missing";
  EXPECT_EQ(dll().cFileMerge(missing.c_str(), missing.c_str(), out.c_str()), RC_CANT_OPEN_FIRST);
  EXPECT_EQ(dll().cFileMerge(first.c_str(), missing.c_str(), out.c_str()), RC_CANT_OPEN_SECOND);
  EXPECT_FALSE(Exists(out));
  EXPECT_EQ(dll().cFileMerge(first.c_str(), second.c_str(), (dir / "no\\such\\out").c_str()), RC_CANT_OPEN_THIRD);
  std::string long_name = dir / std::string(300, 'm');
  EXPECT_EQ(dll().cFileMerge(long_name.c_str(), second.c_str(), out.c_str()), RC_CANT_OPEN_FIRST);
  EXPECT_EQ(dll().cFileMerge(first.c_str(), long_name.c_str(), out.c_str()), RC_CANT_OPEN_SECOND);
  EXPECT_EQ(dll().cFileMerge(first.c_str(), second.c_str(), long_name.c_str()), RC_CANT_OPEN_THIRD);
  EXPECT_EQ(Read(first), "1");
  EXPECT_EQ(Read(second), "2");
}

TEST_F(Merge, OutputThatIsAnInputIsRefused) {
  WriteBytes(first, "first");
  WriteBytes(second, "second");
  EXPECT_EQ(dll().cFileMerge(first.c_str(), second.c_str(), (dir / "FIRST").c_str()), RC_CANT_OPEN_THIRD);
  EXPECT_EQ(dll().cFileMerge(first.c_str(), second.c_str(), second.c_str()), RC_CANT_OPEN_THIRD);
  std::string link = dir / "link";
  ASSERT_TRUE(CreateHardLinkA(link.c_str(), second.c_str(), nullptr));
  EXPECT_EQ(dll().cFileMerge(first.c_str(), second.c_str(), link.c_str()), RC_CANT_OPEN_THIRD);
  EXPECT_EQ(Read(first), "first");
  EXPECT_EQ(Read(second), "second");
}

TEST_F(Merge, FullDiskDeletesTheOutput) {
  auto full = FullDisk();
  if (!full) GTEST_SKIP() << "no tiny file system mounted for this run";
  std::string target = *full + "\\merged";
  // First fits; Second does not: the failure is one of Second's copy.
  int32_t r = Run(RandomBytes(1000, 3), RandomBytes(200000, 4));
  r = dll().cFileMerge(first.c_str(), second.c_str(), target.c_str());
  EXPECT_TRUE(r == RC_WRITE_FAILED || r == RC_WRITE_SHORT_SECOND) << r;
  EXPECT_FALSE(Exists(target));
  // Too big already in First: never a code of the second group.
  r = dll().cFileMerge(second.c_str(), first.c_str(), target.c_str());
  EXPECT_TRUE(r == RC_WRITE_FAILED || r == RC_WRITE_SHORT) << r;
  EXPECT_FALSE(Exists(target));
  EXPECT_EQ(Read(second), RandomBytes(200000, 4));
}

class Filter : public ::testing::Test {
 protected:
  TempDir dir;
  std::string in = dir / "in", out = dir / "out";
  // Runs cFileFilter (keep_set false) or cFileFilterNot over content; returns the result.
  int32_t Run(const std::string& content, std::string_view chars, bool keep_set) {
    WriteBytes(in, content);
    Bstr set(chars);
    return keep_set ? dll().cFileFilterNot(in.c_str(), out.c_str(), set.slot())
                    : dll().cFileFilter(in.c_str(), out.c_str(), set.slot());
  }
};

TEST_F(Filter, DropsOrKeepsTheSet) {
  EXPECT_EQ(Run("one\r\ntwo\r\n", "\r", false), 8);
  EXPECT_EQ(Read(out), "one\ntwo\n");
  EXPECT_EQ(Run("a1b22\nc333\n", "0123456789\n", true), 8);
  EXPECT_EQ(Read(out), "122\n333\n");
  EXPECT_EQ(Run("banana", "a", true), 3);
  EXPECT_EQ(Read(out), "aaa");
  EXPECT_EQ(Run("banana", "a", false), 3);
  EXPECT_EQ(Read(out), "bnn");
  EXPECT_EQ(Run(std::string("x\0y\0", 4), std::string_view("\0", 1), false), 2);
  EXPECT_EQ(Read(out), "xy");
  EXPECT_EQ(Run("AaAa", "a", true), 2);  // exact byte equality
  EXPECT_EQ(Run("nothing kept", "Z", true), 0);
  EXPECT_EQ(Read(out), "");
}

TEST_F(Filter, PassThroughAcrossBlocks) {
  std::string content(40000, 'q');
  EXPECT_EQ(Run(content, "\r", false), 40000);
  EXPECT_EQ(Read(out), content);
  std::string mixed = RandomBytes(100000, 9), expected;
  for (char c : mixed)
    if (c != '\x7F' && c != '\0') expected += c;
  EXPECT_EQ(Run(mixed, std::string_view("\x7F\0", 2), false), static_cast<int32_t>(expected.size()));
  EXPECT_EQ(Read(out), expected);
}

TEST_F(Filter, RefusalsCreateNoOutput) {
  EXPECT_EQ(Run("abc", "", false), -1);
  EXPECT_EQ(Run("abc", "", true), -1);
  EXPECT_FALSE(Exists(out));
  Bstr set("a");
  EXPECT_EQ(dll().cFileFilter((dir / "missing").c_str(), out.c_str(), set.slot()), RC_CANT_OPEN_FIRST);
  EXPECT_EQ(dll().cFileFilter(in.c_str(), (dir / "no\\out").c_str(), set.slot()), RC_CANT_OPEN_SECOND);
  EXPECT_EQ(dll().cFileFilterNot(in.c_str(), (dir / std::string(300, 'f')).c_str(), set.slot()), RC_CANT_OPEN_SECOND);
  EXPECT_EQ(dll().cFileFilter(in.c_str(), (dir / "IN").c_str(), set.slot()), RC_CANT_OPEN_SECOND);
  EXPECT_EQ(dll().cFileFilterNot(in.c_str(), in.c_str(), set.slot()), RC_CANT_OPEN_SECOND);
  EXPECT_FALSE(Exists(out));
  EXPECT_EQ(Read(in), "abc");
}

TEST_F(Filter, FullDiskDeletesTheOutput) {
  auto full = FullDisk();
  if (!full) GTEST_SKIP() << "no tiny file system mounted for this run";
  std::string content = RandomBytes(200000, 6);
  WriteBytes(in, content);
  Bstr set("\x01");
  std::string target = *full + "\\filtered";
  EXPECT_EQ(dll().cFileFilter(in.c_str(), target.c_str(), set.slot()), RC_WRITE_FAILED);
  EXPECT_FALSE(Exists(target));
  EXPECT_EQ(Read(in), content);
}

}  // namespace
}  // namespace vnk::test
