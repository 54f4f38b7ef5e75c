// cFileSort through the DLL: sort types, line and record mode, the argument checks and
// their Count, and the files left behind by every failure.
#include <algorithm>
#include <random>

#include "tests/win/harness.h"

namespace vnk::test {
namespace {

struct Sorted {
  int32_t result;
  int32_t count;
};

Sorted Sort(const std::string& in, const std::string& out, int type, int32_t record = 0, int32_t offset = 0,
            int32_t length = 0, int32_t count_before = 1234) {
  Sorted s{0, count_before};
  s.result = dll().cFileSort(in.c_str(), out.c_str(), HostInt(type), record, offset, length, &s.count);
  return s;
}

// Sorts `text` in line mode and returns the output file's bytes.
std::string SortText(const TempDir& dir, std::string_view text, int type, Sorted* outcome = nullptr) {
  WriteBytes(dir / "in.txt", text);
  Sorted s = Sort(dir / "in.txt", dir / "out.txt", type);
  if (outcome != nullptr) *outcome = s;
  auto bytes = ReadBytes(dir / "out.txt");
  EXPECT_TRUE(bytes.has_value());
  if (s.result >= 0 && bytes) {
    EXPECT_EQ(static_cast<size_t>(s.result), bytes->size()) << "result is the output size";
  }
  return bytes.value_or("<missing>");
}

// A file whose every read fails (not its end): under Wine, the process's own memory
// file read at offset 0, which is never mapped. Empty where that is not available.
std::string ReadFailingFile() {
  const char* name = "Z:\\proc\\self\\mem";
  return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES ? name : "";
}

TEST(FileSort, EmptyInputGivesAnEmptyOutput) {
  TempDir dir;
  Sorted s;
  EXPECT_EQ(SortText(dir, "", 1, &s), "");
  EXPECT_EQ(s.result, 0);
  EXPECT_EQ(s.count, 0);
}

TEST(FileSort, SortTypesPickOrderAndCase) {
  TempDir dir;
  const std::string text = "b\r\na\r\nA\r\n";
  EXPECT_EQ(SortText(dir, text, 1), "A\r\na\r\nb\r\n");
  EXPECT_EQ(SortText(dir, text, 5), "A\r\na\r\nb\r\n");
  EXPECT_EQ(SortText(dir, text, 2), "b\r\na\r\nA\r\n");
  EXPECT_EQ(SortText(dir, text, 6), "b\r\na\r\nA\r\n");
  std::string folded = SortText(dir, text, 9);
  EXPECT_TRUE(folded == "a\r\nA\r\nb\r\n" || folded == "A\r\na\r\nb\r\n") << folded;
  folded = SortText(dir, text, 10);
  EXPECT_TRUE(folded == "b\r\na\r\nA\r\n" || folded == "b\r\nA\r\na\r\n") << folded;
  for (int type : {0, 3, 4, 7, 8, 11, -1, 0x7FFF})
    EXPECT_EQ(SortText(dir, text, type), "A\r\na\r\nb\r\n") << "SortType " << type;
}

TEST(FileSort, FoldingIsAToZOnly) {
  TempDir dir;
  // Z folds to z, which sorts after "[", "_" and "`"; 0xC9 and 0xE9 keep their values.
  EXPECT_EQ(SortText(dir, "Z\n_\n\xE9\n\xC9\n", 9), "_\r\nZ\r\n\xC9\r\n\xE9\r\n");
  EXPECT_EQ(SortText(dir, "Z\n_\n", 1), "Z\r\n_\r\n");
}

TEST(FileSort, TheLineEndTakesPartInTheComparison) {
  TempDir dir;
  EXPECT_EQ(SortText(dir, "abc def\r\nabc\r\nabc\t\r\n", 1), "abc\t\r\nabc\r\nabc def\r\n");
  EXPECT_EQ(SortText(dir, "abc def\r\nabc\r\nabc\t\r\n", 2), "abc def\r\nabc\r\nabc\t\r\n");
}

TEST(FileSort, CrLfLinesCountOneCrEach) {
  TempDir dir;
  Sorted s;
  EXPECT_EQ(SortText(dir, "c\r\nb\r\na\r\n", 1, &s), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(s.result, 9);
  EXPECT_EQ(s.count, 3);
  // LF-only lines come out with CR LF, and the result is still the output's size.
  EXPECT_EQ(SortText(dir, "y\nx\n", 1, &s), "x\r\ny\r\n");
  EXPECT_EQ(s.result, 6);
  // A CR not followed by LF is a byte of its line, the last byte of the file included;
  // of CR CR LF only the second CR belongs to the line end.
  EXPECT_EQ(SortText(dir, "x\r\r\nb\rc\r\n\r\na\r", 1, &s), "\r\na\r\r\nb\rc\r\nx\r\r\n");
  EXPECT_EQ(s.result, 15);
  EXPECT_EQ(s.count, 4);
}

TEST(FileSort, LastLineWithoutALineEndIsALine) {
  TempDir dir;
  Sorted s;
  EXPECT_EQ(SortText(dir, "b\r\nc\r\na", 1, &s), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(s.count, 3);
  EXPECT_EQ(s.result, 9);
  EXPECT_EQ(SortText(dir, "only", 1, &s), "only\r\n");
  EXPECT_EQ(s.count, 1);
}

TEST(FileSort, NulBytesAreKeptAndCompared) {
  TempDir dir;
  Sorted s;
  std::string text("a\0c\na\0b\na\n", 10);
  EXPECT_EQ(SortText(dir, text, 1, &s), std::string("a\0b\r\na\0c\r\na\r\n", 13));
  EXPECT_EQ(s.count, 3);
}

TEST(FileSort, CtrlZEndsTheTextInput) {
  TempDir dir;
  Sorted s;
  EXPECT_EQ(SortText(dir, "b\r\na\r\n\x1A" "c\r\n", 1, &s), "a\r\nb\r\n");
  EXPECT_EQ(s.count, 2);
  // A CR just before the 0x1A stays in the last line.
  EXPECT_EQ(SortText(dir, "b\r\x1A" "a\r\n", 1, &s), "b\r\r\n");
  EXPECT_EQ(s.count, 1);
}

TEST(FileSort, LongLinesAreReadWhole) {
  TempDir dir;
  std::string long_b(5000, 'b'), long_a(3000, 'a');
  long_a += std::string(2000, 'z');
  Sorted s;
  EXPECT_EQ(SortText(dir, long_b + "\r\nm\r\n" + long_a + "\r\n", 1, &s), long_a + "\r\n" + long_b + "\r\nm\r\n");
  EXPECT_EQ(s.count, 3);
}

TEST(FileSort, ManyLinesMatchAPlainSort) {
  TempDir dir;
  std::mt19937 gen(11);
  std::vector<std::string> lines;
  std::string text;
  for (int i = 0; i < 30000; ++i) {
    std::string line;
    for (int j = 0, n = static_cast<int>(gen() % 12); j < n; ++j) line += static_cast<char>(' ' + gen() % 95);
    lines.push_back(line + "\n");
    text += line + "\r\n";
  }
  std::sort(lines.begin(), lines.end());
  std::string expected;
  for (auto& l : lines) expected += l.substr(0, l.size() - 1) + "\r\n";
  Sorted s;
  EXPECT_TRUE(SortText(dir, text, 1, &s) == expected);
  EXPECT_EQ(s.count, 30000);
}

TEST(FileSort, RecordModeSortsByTheKeyOnly) {
  TempDir dir;
  // Keys at bytes 2 to 4: "ccc", "aaa", "bbb"; the other bytes disagree with that order.
  WriteBytes(dir / "in.dat", std::string("00ccc99999") + "99aaa00000" + "55bbb55555");
  Sorted s = Sort(dir / "in.dat", dir / "out.dat", 1, 10, 2, 3);
  EXPECT_EQ(s.result, 30);
  EXPECT_EQ(s.count, 3);
  EXPECT_EQ(ReadBytes(dir / "out.dat"), std::string("99aaa00000") + "55bbb55555" + "00ccc99999");
  s = Sort(dir / "in.dat", dir / "out.dat", 2, 10, 2, 3);
  EXPECT_EQ(ReadBytes(dir / "out.dat"), std::string("00ccc99999") + "55bbb55555" + "99aaa00000");
}

TEST(FileSort, RecordModeKeepsBytesAsTheyAreAndDropsAPartialRecord) {
  TempDir dir;
  // Binary records: CR LF and 0x1A are bytes like any other; the last 5 bytes are not a
  // whole record.
  WriteBytes(dir / "in.dat", std::string("b\r\n\x1A" "567890") + std::string("a\r\n\x1A" "567890") + "tail!");
  Sorted s = Sort(dir / "in.dat", dir / "out.dat", 1, 10, 0, 0);
  EXPECT_EQ(s.result, 20);
  EXPECT_EQ(s.count, 2);
  EXPECT_EQ(ReadBytes(dir / "out.dat"), std::string("a\r\n\x1A" "567890") + std::string("b\r\n\x1A" "567890"));
}

TEST(FileSort, RecordKeysFoldAndStopAtASharedNul) {
  TempDir dir;
  // Key length 4 from offset 1: "B\0zz" and "b\0aa" are equal up to the shared NUL under
  // folding, and "a..." sorts first.
  std::string r1("xB\0zz", 5), r2("ya\0\0\0", 5), r3("zb\0aa", 5);
  WriteBytes(dir / "in.dat", r1 + r2 + r3);
  Sorted s = Sort(dir / "in.dat", dir / "out.dat", 9, 5, 1, 4);
  ASSERT_EQ(s.result, 15);
  std::string out = ReadBytes(dir / "out.dat").value();
  EXPECT_EQ(out.substr(0, 5), r2);
  EXPECT_TRUE(out.substr(5) == r1 + r3 || out.substr(5) == r3 + r1);
  // Case-sensitive: "B" before "a" before "b".
  s = Sort(dir / "in.dat", dir / "out.dat", 1, 5, 1, 4);
  EXPECT_EQ(ReadBytes(dir / "out.dat"), r1 + r2 + r3);
}

TEST(FileSort, RecordKeyAtTheRecordsEndIsEmpty) {
  TempDir dir;
  WriteBytes(dir / "in.dat", "bbbbaaaacccc");
  Sorted s = Sort(dir / "in.dat", dir / "out.dat", 1, 4, 4, 0);
  EXPECT_EQ(s.result, 12);
  std::string out = ReadBytes(dir / "out.dat").value();
  std::sort(out.begin(), out.end());
  EXPECT_EQ(out, "aaaabbbbcccc");
}

TEST(FileSort, ArgumentChecksInOrderLeaveCountAlone) {
  TempDir dir;
  WriteBytes(dir / "in.txt", "b\na\n");
  const std::string in = dir / "in.txt", out = dir / "out.txt";
  EXPECT_EQ(Sort("", "", 1).result, -1);
  EXPECT_EQ(Sort("", "", 1).count, 1234);
  EXPECT_EQ(Sort(in, "", 1, 10, -1, 3).result, -2);
  EXPECT_EQ(Sort(in, out, 1, 10, -1, 3).result, -3);
  EXPECT_EQ(Sort(in, out, 1, 10, 8, 3).result, -6);
  EXPECT_EQ(Sort(in, out, 1, 10, 8, 3).count, 1234);
  EXPECT_EQ(Sort(in, in, 1, 10, 8, 3).result, -6);  // the key is tested before the names
  EXPECT_EQ(Sort(in, in, 1).result, -7);
  EXPECT_FALSE(Exists(out));
  // In line mode the key arguments are ignored, a negative offset included.
  Sorted s = Sort(in, out, 1, 0, -1, 3);
  EXPECT_EQ(s.result, 6);
  EXPECT_EQ(s.count, 2);
  EXPECT_EQ(Sort(in, out, 1, -5, 999, 999).result, 6);
}

TEST(FileSort, SameFileUnderAnyNameIsRefused) {
  TempDir dir;
  const std::string in = dir / "In.Txt";
  WriteBytes(in, "b\na\n");
  std::string upper = in;
  std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; });
  for (const std::string& other : {upper, dir / "sub\\..\\in.txt", dir / ".\\IN.TXT", dir.path() + "/in.txt"}) {
    Sorted s = Sort(in, other, 1);
    EXPECT_EQ(s.result, -7) << other;
    EXPECT_EQ(s.count, 1234);
  }
  EXPECT_EQ(ReadBytes(in), "b\na\n");
}

TEST(FileSort, MissingInputLeavesTheOutputAlone) {
  TempDir dir;
  WriteBytes(dir / "out.txt", "keep me");
  Sorted s = Sort(dir / "missing.txt", dir / "out.txt", 1);
  EXPECT_EQ(s.result, -8);
  EXPECT_EQ(s.count, -1);
  EXPECT_EQ(ReadBytes(dir / "out.txt"), "keep me");
  s = Sort(dir / "missing.txt", dir / "new.txt", 1, 10, 0, 0);
  EXPECT_EQ(s.result, -8);
  EXPECT_FALSE(Exists(dir / "new.txt"));
}

TEST(FileSort, UnopenableOutput) {
  TempDir dir;
  WriteBytes(dir / "in.txt", "b\na\n");
  Sorted s = Sort(dir / "in.txt", dir / "no\\such\\dir\\out.txt", 1);
  EXPECT_EQ(s.result, -9);
  EXPECT_EQ(s.count, -1);
  // A name longer than the library's path buffers opens nothing.
  s = Sort(dir / "in.txt", dir / std::string(300, 'x'), 1);
  EXPECT_EQ(s.result, -9);
  EXPECT_EQ(Sort(dir / std::string(300, 'x'), dir / "out.txt", 1).result, -8);
  EXPECT_FALSE(Exists(dir / "out.txt"));
}

TEST(FileSort, InputLargerThanMemoryFailsWhileStoring) {
  // 3 GB (sparse on the host's disk) cannot be held by a 32-bit process, nor 1 TiB by a
  // 64-bit one on these machines: the lines cannot be stored, which is a failure while
  // reading, and an output that was there keeps its bytes.
  TempDir dir;
  const std::string big = dir / "big.txt";
  HANDLE h = CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = sizeof(void*) == 8 ? 1LL << 40 : 3LL << 30;
  bool sized = SetFilePointerEx(h, size, nullptr, FILE_BEGIN) && SetEndOfFile(h);
  CloseHandle(h);
  ASSERT_TRUE(sized);
  for (int32_t record : {0, 10}) {
    WriteBytes(dir / "out.txt", "old output");
    Sorted s = Sort(big, dir / "out.txt", 1, record);
    EXPECT_EQ(s.result, -12) << "record length " << record;
    EXPECT_EQ(s.count, -2);
    EXPECT_EQ(ReadBytes(dir / "out.txt"), "old output");
    EXPECT_EQ(PlatformFiles(dir / "*"), (std::vector<std::string>{"big.txt", "out.txt"}));
  }
  DeleteFileA(big.c_str());
}

TEST(FileSort, ReadErrorKeepsTheOldOutput) {
  const std::string bad = ReadFailingFile();
  if (bad.empty()) GTEST_SKIP() << "no file that fails to read";
  for (int record : {0, 4}) {
    TempDir dir;
    WriteBytes(dir / "out.txt", "old output");
    Sorted s = Sort(bad, dir / "out.txt", 1, record);
    EXPECT_EQ(s.result, -4) << "record length " << record;
    EXPECT_EQ(s.count, -2);
    EXPECT_EQ(ReadBytes(dir / "out.txt"), "old output");
  }
}

TEST(FileSort, WriteFailureDeletesTheOutput) {
  auto full = FullDisk();
  if (!full) GTEST_SKIP() << "no small file system to fill";
  TempDir dir;
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "line number " + std::to_string(99999 - i) + "\r\n";
  WriteBytes(dir / "in.txt", text);
  const std::string out = *full + "\\sorted.txt";
  Sorted s = Sort(dir / "in.txt", out, 1);
  EXPECT_EQ(s.result, -16);
  EXPECT_EQ(s.count, 20000);
  EXPECT_FALSE(Exists(out));
  s = Sort(dir / "in.txt", out, 1, 7, 0, 0);
  EXPECT_EQ(s.result, -16);
  EXPECT_FALSE(Exists(out));
  EXPECT_EQ(ReadBytes(dir / "in.txt"), text);
}

}  // namespace
}  // namespace vnk::test
