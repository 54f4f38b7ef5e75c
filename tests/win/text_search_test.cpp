// cFileSearch, cFileSearchCount and cFileSearchAndReplace through the DLL: matching
// rules, line pieces, the rewritten file and its work file, and every failure.
#include "tests/win/harness.h"

namespace vnk::test {
namespace {

constexpr int32_t kTooLong = -32700;  // SearchText or ReplaceText longer than taken
constexpr int kMatchCase = -1, kIgnoreCase = 0;

int32_t Search(const std::string& file, const std::string& text, int case_sensitive) {
  return dll().cFileSearch(file.c_str(), text.c_str(), HostInt(case_sensitive));
}
int32_t Count(const std::string& file, const std::string& text, int case_sensitive) {
  return dll().cFileSearchCount(file.c_str(), text.c_str(), HostInt(case_sensitive));
}
int32_t Replace(const std::string& file, const std::string& text, const std::string& replacement,
                int case_sensitive, const std::string& work = "") {
  return dll().cFileSearchAndReplace(file.c_str(), text.c_str(), replacement.c_str(), work.c_str(),
                                     HostInt(case_sensitive));
}

// Rewrites `content` and returns the file's bytes afterwards; the result goes to *result.
std::string Rewrite(const TempDir& dir, std::string_view content, const std::string& text,
                    const std::string& replacement, int case_sensitive, int32_t* result = nullptr) {
  CurrentDirScope here(dir.path());
  WriteBytes(dir / "f.txt", content);
  int32_t r = Replace(dir / "f.txt", text, replacement, case_sensitive);
  if (result != nullptr) *result = r;
  EXPECT_FALSE(Exists(dir / "~!!TMP~.TMP")) << "work file left behind";
  return ReadBytes(dir / "f.txt").value_or("<missing>");
}

std::string ReadFailingFile() {
  const char* name = "Z:\\proc\\self\\mem";
  return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES ? name : "";
}

TEST(FileSearch, CaseSensitiveOrNot) {
  TempDir dir;
  WriteBytes(dir / "f.txt", "Hello World\r\n");
  EXPECT_EQ(Search(dir / "f.txt", "world", kMatchCase), 0);
  EXPECT_EQ(Search(dir / "f.txt", "world", kIgnoreCase), -1);
  EXPECT_EQ(Search(dir / "f.txt", "World", 1), -1);  // any non-zero value matches case
  EXPECT_EQ(Count(dir / "f.txt", "O", kIgnoreCase), 2);
  EXPECT_EQ(Count(dir / "f.txt", "O", kMatchCase), 0);
  // Folding is A to Z only.
  WriteBytes(dir / "f.txt", "\xC9t\xE9 [x] @\r\n");
  EXPECT_EQ(Count(dir / "f.txt", "\xE9", kIgnoreCase), 1);
  EXPECT_EQ(Count(dir / "f.txt", "{X}", kIgnoreCase), 0);
  EXPECT_EQ(Count(dir / "f.txt", "[X]", kIgnoreCase), 1);
  EXPECT_EQ(Count(dir / "f.txt", "`", kIgnoreCase), 0);
}

TEST(FileSearch, MatchesDoNotOverlapNorSpanLines) {
  TempDir dir;
  WriteBytes(dir / "f.txt", "aaaa\r\n");
  EXPECT_EQ(Count(dir / "f.txt", "aa", kMatchCase), 2);
  WriteBytes(dir / "f.txt", "aa\r\naa\r\n");
  EXPECT_EQ(Count(dir / "f.txt", "aa", kMatchCase), 2);
  EXPECT_EQ(Count(dir / "f.txt", "a\na", kMatchCase), 0);
  // The line end is "\n" here, wherever the file has CR LF.
  EXPECT_EQ(Count(dir / "f.txt", "aa\n", kMatchCase), 2);
  EXPECT_EQ(Count(dir / "f.txt", "\r", kMatchCase), 0);
}

TEST(FileSearch, LinesAreSearchedInPiecesOf2559Characters) {
  TempDir dir;
  // "ab" at 2557..2558 lies inside the first piece; at 2558..2559 it spans the cut.
  WriteBytes(dir / "f.txt", std::string(2557, 'x') + "ab\r\n" + std::string(2558, 'x') + "ab\r\n");
  EXPECT_EQ(Count(dir / "f.txt", "ab", kMatchCase), 1);
  EXPECT_EQ(Count(dir / "f.txt", "xab", kMatchCase), 1);
  // A piece that holds only the tail of a long line, and a line end, still matches.
  WriteBytes(dir / "f.txt", std::string(2559, 'x') + "ab\r\n");
  EXPECT_EQ(Count(dir / "f.txt", "ab\n", kMatchCase), 1);
}

TEST(FileSearch, EmptyArgumentsAndMissingFile) {
  TempDir dir;
  EXPECT_EQ(Search(dir / "missing.txt", "", kMatchCase), 0);
  EXPECT_EQ(Count(dir / "missing.txt", "", kMatchCase), 0);
  EXPECT_EQ(Replace(dir / "missing.txt", "", "x", kMatchCase), 0);
  EXPECT_EQ(Search("", "x", kMatchCase), 0);
  EXPECT_EQ(Count("", "x", kMatchCase), 0);
  EXPECT_EQ(Replace("", "x", "y", kMatchCase), 0);
  EXPECT_EQ(Search(dir / "missing.txt", "x", kMatchCase), RC_CANT_OPEN_FIRST);
  EXPECT_EQ(Count(dir / "missing.txt", "x", kMatchCase), RC_CANT_OPEN_FIRST);
  EXPECT_EQ(Replace(dir / "missing.txt", "x", "y", kMatchCase), RC_CANT_OPEN_FIRST);
  EXPECT_FALSE(Exists(dir / "missing.txt"));
}

TEST(FileSearch, NulAndCtrlZ) {
  TempDir dir;
  // A NUL is a byte of the line; a 0x1A ends the text.
  WriteBytes(dir / "f.txt", std::string("a\0b\0b\r\nb\x1A" "bbb\r\n", 14));
  EXPECT_EQ(Count(dir / "f.txt", "b", kMatchCase), 3);
  EXPECT_EQ(Search(dir / "f.txt", "bb", kMatchCase), 0);
}

TEST(FileSearch, ReadErrors) {
  const std::string bad = ReadFailingFile();
  if (bad.empty()) GTEST_SKIP() << "no file that fails to read";
  EXPECT_EQ(Search(bad, "x", kMatchCase), RC_READ_FAILED);
  EXPECT_EQ(Count(bad, "x", kMatchCase), RC_READ_FAILED);
}

TEST(FileSearch, OverLongTextsAreRefused) {
  TempDir dir;
  WriteBytes(dir / "f.txt", std::string(300, 'a') + "\r\n");
  EXPECT_EQ(Count(dir / "f.txt", std::string(255, 'a'), kMatchCase), 1);
  EXPECT_EQ(Count(dir / "f.txt", std::string(256, 'a'), kMatchCase), kTooLong);
  EXPECT_EQ(Search(dir / "f.txt", std::string(256, 'a'), kMatchCase), kTooLong);
  EXPECT_EQ(Count(dir / std::string(300, 'n'), "a", kMatchCase), RC_CANT_OPEN_FIRST);
}

TEST(FileSearchAndReplace, TheExamples) {
  TempDir dir;
  EXPECT_EQ(Rewrite(dir, "Cat cat CAT\r\n", "cat", "dog", kIgnoreCase), "dog dog dog\r\n");
  EXPECT_EQ(Rewrite(dir, "Cat cat CAT\r\n", "cat", "dog", kMatchCase), "Cat dog CAT\r\n");
  EXPECT_EQ(Rewrite(dir, "aaa\r\n", "aa", "b", kMatchCase), "ba\r\n");
  EXPECT_EQ(Rewrite(dir, "banana\r\nAa\r\n", "a", "", kMatchCase), "bnn\r\nA\r\n");
  EXPECT_EQ(Rewrite(dir, "AaB\r\n", "a", "b", kIgnoreCase), "bbB\r\n");
  EXPECT_EQ(Rewrite(dir, "aa\r\n", "a", "aa", kMatchCase), "aaaa\r\n");
  EXPECT_EQ(Rewrite(dir, "\r\nx\r\n\r\nlonger\r\n", "xyz", "Q", kMatchCase), "\r\nx\r\n\r\nlonger\r\n");
}

TEST(FileSearchAndReplace, LineEndsBecomeCrLfAndCountOnce) {
  TempDir dir;
  int32_t result = 0;
  EXPECT_EQ(Rewrite(dir, "abc\n", "b", "xy", kMatchCase, &result), "axyc\r\n");
  EXPECT_EQ(result, 5);
  EXPECT_EQ(Rewrite(dir, "abc\r\nq", "b", "xy", kMatchCase, &result), "axyc\r\nq");
  EXPECT_EQ(result, 6);  // the last line keeps having no line end
  EXPECT_EQ(Rewrite(dir, "", "b", "xy", kMatchCase, &result), "");
  EXPECT_EQ(result, 0);
}

TEST(FileSearchAndReplace, LongLinesAreRewrittenPieceByPiece) {
  TempDir dir;
  // Pieces of 4157 characters: "ab" across the cut stays; the rest of the line is kept.
  std::string line = std::string(4156, 'x') + "ab" + std::string(3000, 'y') + "ab";
  int32_t result = 0;
  EXPECT_EQ(Rewrite(dir, line + "\r\n", "ab", "Z", kMatchCase, &result),
            std::string(4156, 'x') + "ab" + std::string(3000, 'y') + "Z\r\n");
  EXPECT_EQ(result, static_cast<int32_t>(line.size()));
  // Output larger than the 4096-byte buffer, replacements of the longest length.
  std::string many;
  for (int i = 0; i < 50; ++i) many += "a.";
  std::string big = Rewrite(dir, many + "\r\n", "a", std::string(513, 'r'), kMatchCase, &result);
  std::string expected;
  for (int i = 0; i < 50; ++i) expected += std::string(513, 'r') + ".";
  EXPECT_EQ(big, expected + "\r\n");
  EXPECT_EQ(result, static_cast<int32_t>(expected.size() + 1));
}

TEST(FileSearchAndReplace, NulBytesSurvive) {
  TempDir dir;
  EXPECT_EQ(Rewrite(dir, std::string("a\0a\r\n", 5), "a", "bc", kMatchCase), std::string("bc\0bc\r\n", 7));
}

TEST(FileSearchAndReplace, NamedWorkFileIsRemoved) {
  TempDir dir;
  WriteBytes(dir / "f.txt", "one two\r\n");
  EXPECT_EQ(Replace(dir / "f.txt", "two", "2", kMatchCase, dir / "work.tmp"), 6);
  EXPECT_EQ(ReadBytes(dir / "f.txt"), "one 2\r\n");
  EXPECT_FALSE(Exists(dir / "work.tmp"));
}

TEST(FileSearchAndReplace, OverLongArgumentsOpenNothing) {
  TempDir dir;
  CurrentDirScope here(dir.path());
  const std::string content = std::string(300, 'a') + "\r\n";
  WriteBytes(dir / "f.txt", content);
  EXPECT_EQ(Replace(dir / "f.txt", std::string(257, 'a'), "b", kMatchCase), kTooLong);
  EXPECT_EQ(Replace(dir / "f.txt", "a", std::string(514, 'b'), kMatchCase), kTooLong);
  EXPECT_EQ(Replace(dir / "f.txt", "a", "b", kMatchCase, dir / std::string(300, 'w')), RC_CANT_OPEN_SECOND);
  EXPECT_EQ(ReadBytes(dir / "f.txt"), content);
  EXPECT_FALSE(Exists(dir / "~!!TMP~.TMP"));
  // The longest texts taken.
  EXPECT_EQ(Replace(dir / "f.txt", std::string(256, 'a'), std::string(513, 'b'), kMatchCase), 513 + 44 + 1);
}

TEST(FileSearchAndReplace, WorkFileThatIsTheFileItselfIsRefused) {
  TempDir dir;
  WriteBytes(dir / "f.txt", "abc\r\n");
  EXPECT_EQ(Replace(dir / "f.txt", "b", "x", kMatchCase, dir / "F.TXT"), RC_CANT_OPEN_SECOND);
  EXPECT_EQ(Replace(dir / "f.txt", "b", "x", kMatchCase, dir / "sub\\..\\f.txt"), RC_CANT_OPEN_SECOND);
  EXPECT_EQ(ReadBytes(dir / "f.txt"), "abc\r\n");
}

TEST(FileSearchAndReplace, UnopenableWorkFile) {
  TempDir dir;
  WriteBytes(dir / "f.txt", "abc\r\n");
  EXPECT_EQ(Replace(dir / "f.txt", "b", "x", kMatchCase, dir / "no\\dir\\w.tmp"), RC_CANT_OPEN_SECOND);
  EXPECT_EQ(ReadBytes(dir / "f.txt"), "abc\r\n");
}

TEST(FileSearchAndReplace, CopyBackThatCannotOpenTheFileLeavesItAsItWas) {
  TempDir dir;
  WriteBytes(dir / "f.txt", "abc\r\n");
  {
    // Another program holds File open and lets nobody write to it: reading works, the
    // copy back cannot open File.
    HANDLE h = CreateFileA((dir / "f.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Replace(dir / "f.txt", "b", "x", kMatchCase, dir / "w.tmp"), RC_CANT_OPEN_SECOND);
    CloseHandle(h);
  }
  EXPECT_EQ(ReadBytes(dir / "f.txt"), "abc\r\n");
  EXPECT_FALSE(Exists(dir / "w.tmp"));  // nothing is lost: File can be rewritten again
}

TEST(FileSearchAndReplace, ReadErrorRemovesTheWorkFile) {
  const std::string bad = ReadFailingFile();
  if (bad.empty()) GTEST_SKIP() << "no file that fails to read";
  TempDir dir;
  EXPECT_EQ(Replace(bad, "x", "y", kMatchCase, dir / "w.tmp"), RC_READ_FAILED);
  EXPECT_FALSE(Exists(dir / "w.tmp"));
}

TEST(FileSearchAndReplace, WriteFailureLeavesTheFileAlone) {
  auto full = FullDisk();
  if (!full) GTEST_SKIP() << "no small file system to fill";
  TempDir dir;
  std::string content;
  for (int i = 0; i < 10000; ++i) content += "line " + std::to_string(i) + " of the file\r\n";
  WriteBytes(dir / "f.txt", content);
  const std::string work = *full + "\\w.tmp";
  EXPECT_EQ(Replace(dir / "f.txt", "file", "text", kMatchCase, work), RC_WRITE_FAILED);
  EXPECT_EQ(ReadBytes(dir / "f.txt"), content);
  EXPECT_FALSE(Exists(work));
}

}  // namespace
}  // namespace vnk::test
