// cFileLineCount, cFileStatistics and cFileUUCP, called as a VB program calls them.
#include "tests/win/harness.h"

namespace vnk::test {
namespace {

std::string Read(const std::string& path) { return ReadBytes(path).value_or("<missing>"); }

struct Stats {
  int32_t result, lines, words, chars;
};

class Counting : public ::testing::Test {
 protected:
  TempDir dir;
  std::string file = dir / "text";
  Stats Statistics(const std::string& content) {
    WriteBytes(file, content);
    Stats s{0, -7, -7, -7};
    s.result = dll().cFileStatistics(file.c_str(), &s.lines, &s.words, &s.chars);
    return s;
  }
  int32_t LineCount(const std::string& content) {
    WriteBytes(file, content);
    return dll().cFileLineCount(file.c_str());
  }
};

void ExpectStats(const Stats& s, int32_t lines, int32_t words, int32_t chars) {
  EXPECT_EQ(s.result, chars);
  EXPECT_EQ(s.lines, lines);
  EXPECT_EQ(s.words, words);
  EXPECT_EQ(s.chars, chars);
}

TEST_F(Counting, LinesWordsAndBytes) {
  EXPECT_EQ(LineCount(""), 0);
  ExpectStats(Statistics(""), 0, 0, 0);
  EXPECT_EQ(LineCount("one two\r\nthree"), 1);
  ExpectStats(Statistics("one two\r\nthree"), 1, 3, 14);
  EXPECT_EQ(LineCount("a\nb\nc\n"), 0);
  ExpectStats(Statistics("a\nb\nc\n"), 3, 3, 6);  // a bare LF ends a word too
  EXPECT_EQ(LineCount("\r\r\r\r"), 4);
  ExpectStats(Statistics("\r\r\r\r"), 0, 0, 4);
  ExpectStats(Statistics("\xE9t\xE9 \xC0\xFF"), 0, 2, 6);
  ExpectStats(Statistics("\t\v\fx  y\r"), 0, 2, 8);
}

TEST_F(Counting, WordAcrossTheBlockBoundaryCountsOnce) {
  std::string content(32763, ' ');
  content += "abcdefghij";  // offsets 32763 to 32772
  content += std::string(100, ' ');
  ExpectStats(Statistics(content), 0, 1, 32873);
  std::string many = RandomBytes(100000, 8);
  int32_t crs = 0;
  for (char c : many) crs += c == '\r';
  EXPECT_EQ(LineCount(many), crs);
}

TEST_F(Counting, MissingFileLeavesTheArguments) {
  std::string missing = dir / "missing";
  Stats s{0, 11, 22, 33};
  EXPECT_EQ(dll().cFileStatistics(missing.c_str(), &s.lines, &s.words, &s.chars), RC_CANT_OPEN_FIRST);
  EXPECT_EQ(s.lines, 11);
  EXPECT_EQ(s.words, 22);
  EXPECT_EQ(s.chars, 33);
  EXPECT_EQ(dll().cFileLineCount(missing.c_str()), RC_CANT_OPEN_FIRST);
  std::string long_name = dir / std::string(300, 'c');
  EXPECT_EQ(dll().cFileLineCount(long_name.c_str()), RC_CANT_OPEN_FIRST);
  EXPECT_EQ(dll().cFileStatistics(long_name.c_str(), &s.lines, &s.words, &s.chars), RC_CANT_OPEN_FIRST);
}

class Uu : public ::testing::Test {
 protected:
  TempDir dir;
  std::string in = dir / "in.bin", enc = dir / "in.uue", dec = dir / "out.bin";
  int32_t Encode(const std::string& content) {
    WriteBytes(in, content);
    return dll().cFileUUCP(in.c_str(), enc.c_str(), 0);
  }
  int32_t Decode(const std::string& text) {
    WriteBytes(enc, text);
    return dll().cFileUUCP(enc.c_str(), dec.c_str(), 1);
  }
};

TEST_F(Uu, EncodesLinesOfFortyFiveBytes) {
  EXPECT_EQ(Encode(""), 0);
  EXPECT_EQ(Read(enc), "");
  EXPECT_EQ(Encode("Cat"), 6);
  EXPECT_EQ(Read(enc), "#0V%T\n");
  EXPECT_EQ(Encode("A"), 6);
  EXPECT_EQ(Read(enc), "!00  \n");
  EXPECT_EQ(Encode(std::string(45, 'x')), 62);
  EXPECT_EQ(Encode(std::string(46, 'x')), 68);
  std::string text = Read(enc);
  EXPECT_EQ(text[0], 'M');
  EXPECT_EQ(text.substr(61, 2), "\n!");
}

// The last line of an encoding, made here group by group: its short last group is
// padded with zero bytes, whatever the line before held.
std::string LastUuLine(const std::string& data) {
  size_t rest = data.size() % 45, start = data.size() - rest;
  std::string bytes = data.substr(start);
  bytes.resize((rest + 2) / 3 * 3, '\0');
  std::string line(1, static_cast<char>(32 + rest));
  for (size_t g = 0; g < bytes.size(); g += 3) {
    uint32_t v = static_cast<uint8_t>(bytes[g]) << 16 | static_cast<uint8_t>(bytes[g + 1]) << 8 | static_cast<uint8_t>(bytes[g + 2]);
    for (int shift = 18; shift >= 0; shift -= 6) line += static_cast<char>(32 + (v >> shift & 63));
  }
  return line + "\n";
}

TEST_F(Uu, RoundTripsBinaryData) {
  // The large sizes put lines across the edges of the blocks the input is read in.
  for (size_t size : {1u, 2u, 3u, 44u, 45u, 46u, 89u, 90u, 91u, 4096u, 100001u, 1048627u, 2097200u}) {
    std::string data = RandomBytes(size, static_cast<uint32_t>(size));
    int32_t expected = static_cast<int32_t>(size / 45 * 62 + (size % 45 ? 2 + 4 * ((size % 45 + 2) / 3) : 0));
    ASSERT_EQ(Encode(data), expected) << size;
    if (size % 45 != 0) {
      std::string last = LastUuLine(data), text = Read(enc);
      EXPECT_EQ(text.substr(text.size() - last.size()), last) << size;
    }
    EXPECT_EQ(dll().cFileUUCP(enc.c_str(), dec.c_str(), -1), static_cast<int32_t>(size));
    EXPECT_EQ(Read(dec), data) << size;
  }
}

TEST_F(Uu, DecodingStopsAtAZeroLengthLine) {
  EXPECT_EQ(Decode("#0V%T\n \n#0V%T\n"), 3);
  EXPECT_EQ(Read(dec), "Cat");
  EXPECT_EQ(Decode("#0V%T\n`\n#0V%T\n"), 3);
  EXPECT_EQ(Decode("#0V%T\n#0V%T\n"), 6);
  EXPECT_EQ(Read(dec), "CatCat");
  EXPECT_EQ(Decode("!00``\n"), 1);  // "`" stands for 0 in the groups as well
  EXPECT_EQ(Read(dec), "A");
  EXPECT_EQ(Decode(""), 0);
}

TEST_F(Uu, SameFileAndOpenFailures) {
  WriteBytes(in, "data");
  // The same name in another case: nothing is opened.
  EXPECT_EQ(dll().cFileUUCP(in.c_str(), (dir / "IN.BIN").c_str(), 0), 0);
  EXPECT_EQ(dll().cFileUUCP(in.c_str(), (dir / "other\\..\\in.bin").c_str(), 0), 0);
  EXPECT_EQ(Read(in), "data");
  EXPECT_EQ(dll().cFileUUCP((dir / "missing").c_str(), enc.c_str(), 0), RC_CANT_OPEN_FIRST);
  EXPECT_FALSE(Exists(enc));
  EXPECT_EQ(dll().cFileUUCP(in.c_str(), (dir / "no\\such").c_str(), 1), RC_CANT_OPEN_SECOND);
  EXPECT_EQ(dll().cFileUUCP(in.c_str(), (dir / std::string(300, 'u')).c_str(), 0), RC_CANT_OPEN_SECOND);
  EXPECT_EQ(dll().cFileUUCP((dir / std::string(300, 'u')).c_str(), enc.c_str(), 0), RC_CANT_OPEN_FIRST);
  EXPECT_FALSE(Exists(enc));
}

TEST_F(Uu, FullDiskIsAWriteFailure) {
  auto full = FullDisk();
  if (!full) GTEST_SKIP() << "no tiny file system mounted for this run";
  WriteBytes(in, RandomBytes(100000, 12));
  std::string target = *full + "\\big.uue";
  EXPECT_EQ(dll().cFileUUCP(in.c_str(), target.c_str(), 0), RC_WRITE_FAILED);
  EXPECT_FALSE(Exists(target));
}

}  // namespace
}  // namespace vnk::test
