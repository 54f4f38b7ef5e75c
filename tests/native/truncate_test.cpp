// Path truncation: the worked examples with their exact results and lengths, the small
// budgets, and the paths and widths that are given back whole or refused.
#include <gtest/gtest.h>

#include <string>

#include "paths/truncate_kernel.h"

namespace vnk {
namespace {

std::string Cut(const std::string& path, int32_t width) { return TruncatePath(path.c_str(), width, SingleByteCodePage()); }

TEST(TruncatePath, WorkedExamples) {
  std::string r = Cut("C:\\Program Files\\Some Long Folder\\Sub\\file.txt", 30);
  EXPECT_EQ(r, "C:\\Program Files\\Sub..file.txt");
  EXPECT_EQ(r.size(), 30u);

  const std::string abc = "C:\\A\\BB\\CCC\\DDDD\\EEEEE\\FFFFFF\\report.doc";
  ASSERT_EQ(abc.size(), 40u);
  EXPECT_EQ(Cut(abc, 30), "C:\\A\\BB\\CCC\\DDDD....report.doc");
  EXPECT_EQ(Cut(abc, 40), abc);

  // Reports would make the kept text exactly the budget, which is not below it.
  r = Cut("D:\\Data\\Projects\\Reports\\Quarterly\\Summary\\results.xls", 35);
  EXPECT_EQ(r, "D:\\Data\\Projects" + std::string(8, '.') + "results.xls");
  EXPECT_EQ(r.size(), 35u);

  r = Cut("C:\\VeryLongDirectoryName\\file.txt", 25);
  EXPECT_EQ(r, "C:" + std::string(15, '.') + "file.txt");
  EXPECT_EQ(r.size(), 25u);

  r = Cut("Docs\\Letters\\Archive\\Old\\letter.txt", 25);
  EXPECT_EQ(r, "Docs\\Letters...letter.txt");
  EXPECT_EQ(r.size(), 25u);

  EXPECT_EQ(Cut("C:\\Short\\file.txt", 25), "C:\\Short\\file.txt");

  // A network path keeps one leading backslash when it is shortened.
  r = Cut("\\\\server\\share\\dir\\sub\\file.txt", 25);
  EXPECT_EQ(r, "\\server\\share....file.txt");
  EXPECT_EQ(r.size(), 25u);
}

TEST(TruncatePath, WidthBelow25AndInvalidPathsGiveEmpty) {
  EXPECT_EQ(Cut("C:\\Short\\file.txt", 24), "");
  EXPECT_EQ(Cut("A.TXT", 0), "");
  EXPECT_EQ(Cut("A.TXT", -5), "");
  EXPECT_EQ(Cut("", 100), "");
  EXPECT_EQ(Cut("C:\\DATA\\", 100), "");
  EXPECT_EQ(Cut("C:\\A*B.TXT", 100), "");
  EXPECT_EQ(Cut("C:\\A.B.C", 100), "");
}

TEST(TruncatePath, BudgetOfZeroOrLessPadsNothing) {
  // Drive, name and extension alone exceed the width: a rooted directory leaves one dot,
  // a relative one nothing, and the result is longer than the width.
  std::string name(30, 'N');
  EXPECT_EQ(Cut("C:\\DIR\\" + name + ".TXT", 25), "C:." + name + ".TXT");
  EXPECT_EQ(Cut("DIR\\" + name + ".TXT", 25), name + ".TXT");
  // Exactly the width: budget 0.
  std::string n19(19, 'N');
  EXPECT_EQ(Cut("C:\\D\\" + n19 + ".TXT", 25), "C:." + n19 + ".TXT");
  // Budget 1: the root backslash becomes the only dot.
  std::string n18(18, 'N');
  EXPECT_EQ(Cut("C:\\DIR\\" + n18 + ".TXT", 25), "C:." + n18 + ".TXT");
  std::string n20(20, 'N');
  EXPECT_EQ(Cut("DIR\\" + n20 + ".TXT", 25), "." + n20 + ".TXT");
}

TEST(TruncatePath, RelativeDirectoryThatFitsNothingBecomesDots) {
  std::string r = Cut("VeryLongDirectoryNameHere\\file.txt", 25);
  EXPECT_EQ(r, std::string(17, '.') + "file.txt");
}

TEST(TruncatePath, NoDirectoryAtAll) {
  // Nothing to give up: drive, name and extension come back with the budget as dots.
  std::string name(40, 'N');
  EXPECT_EQ(Cut("C:" + name + ".TXT", 30), "C:" + name + ".TXT");
  EXPECT_EQ(Cut(name, 30), name);
}

TEST(TruncatePath, WideWidthsGiveThePathWholeOrNothing) {
  // A directory of 255 characters: no part is cut, but the path is longer than 255.
  std::string dir;
  for (int i = 0; dir.size() + 12 <= 254; ++i) dir += "\\DIRECTORY" + std::to_string(i % 10) + "X";
  dir += std::string(254 - dir.size(), 'Z') + "\\";
  ASSERT_EQ(dir.size(), 255u);
  std::string path = "C:" + dir + "file.txt";
  EXPECT_EQ(Cut(path, 256), "");
  EXPECT_EQ(Cut(path, static_cast<int32_t>(path.size())), path);
  EXPECT_EQ(Cut(path, 100000), path);
  // A path longer than 255 shortened into an ordinary width.
  std::string r = Cut(path, 60);
  EXPECT_EQ(r, "C:\\DIRECTORY0X\\DIRECTORY1X\\DIRECTORY2X\\DIRECTORY3X..file.txt");
  EXPECT_EQ(r.size(), 60u);
}

TEST(TruncatePath, PartsOver255AreGivenBackWholeOrRefused) {
  std::string longdir = "C:\\" + std::string(300, 'D') + "\\f.txt";
  EXPECT_EQ(Cut(longdir, 100), "");
  EXPECT_EQ(Cut(longdir, 255), "");
  EXPECT_EQ(Cut(longdir, 400), longdir);
  std::string longname = "C:\\D\\" + std::string(256, 'N') + ".txt";
  EXPECT_EQ(Cut(longname, 200), "");
  EXPECT_EQ(Cut(longname, 300), longname);
  // A name of exactly 255 characters is served.
  std::string n255 = "C:\\DIR\\" + std::string(255, 'N');
  EXPECT_EQ(Cut(n255, 100), "C:." + std::string(255, 'N'));
}

TEST(TruncatePath, TrailByteWithBackslashValueIsNoSeparator) {
  LeadBytes sjis{};
  for (int b = 0x81; b <= 0x9F; ++b) sjis[b] = true;
  // "\x95\\" is one character: the component "AB\x95\\CD" must be kept or dropped whole.
  std::string path = "C:\\AB\x95\\CD\\" + std::string(20, 'X') + "\\file.txt";
  std::string r = TruncatePath(path.c_str(), 30, sjis);
  EXPECT_EQ(r, "C:\\AB\x95\\CD." + std::string(r.size() - 18, '.') + "file.txt");
  EXPECT_EQ(r.size(), 30u);
}

// A double-byte character is two bytes of one character wherever it stands (a trail
// byte of "\\" or "." included): at every width, the path shortens exactly as the same
// path with an ordinary two-letter pair in its place does, character for character.
TEST(TruncatePath, DoubleByteCharactersShortenAsAnyTwoBytes) {
  LeadBytes sjis{};
  for (int b = 0x81; b <= 0x9F; ++b) sjis[b] = true;
  const std::string kanji[] = {"\x95\\", "\x81.", "\x9F\x95"};
  // Shapes the name check (which reads single bytes) accepts with each of them: no trail
  // "." in a component holding another dot, no trail "\\" before "\\", "." or the end.
  const std::string paths[] = {
      "C:\\AB@\\CDEFG\\HIJ\\KLMNOP\\QR\\file.txt",
      "C:\\ABCD\\@EF\\GHIJKLM\\NO\\PQRSTU\\na@me",
      "\\\\srv\\sh\\@x\\TUVWXYZ\\abcdef\\zzz.txt",
      "rel\\@x\\LONGERNAME\\x\\file@z",
  };
  for (const std::string& k : kanji) {
    for (const std::string& shape : paths) {
      std::string path, plain;
      for (char c : shape) {
        path += c == '@' ? k : std::string(1, c);
        plain += c == '@' ? std::string("Qq") : std::string(1, c);
      }
      for (int32_t width = TRUNCATE_MIN_WIDTH; width <= static_cast<int32_t>(path.size()) + 1; ++width) {
        std::string expected = TruncatePath(plain.c_str(), width, sjis);
        for (size_t at = expected.find("Qq"); at != std::string::npos; at = expected.find("Qq", at + 2))
          expected.replace(at, 2, k);
        EXPECT_EQ(TruncatePath(path.c_str(), width, sjis), expected) << path << " width " << width;
      }
    }
  }
}

// A twin's widths count UTF-16 units of its UTF-8 text: a Greek letter (two bytes) is
// one unit, a character beyond the Basic Multilingual Plane (four bytes) two.
TEST(TruncatePath, Utf16UnitsOfUtf8Text) {
  const std::string alpha = "\xCE\x91", face = "\xF0\x9F\x98\x80";
  std::string a10, b10;
  for (int i = 0; i < 10; ++i) a10 += alpha;
  for (int i = 0; i < 5; ++i) b10 += face;
  const std::string path = "C:\\" + a10 + "\\" + b10 + "\\name.txt";  // 33 units, 73 bytes
  auto cut = [&](int32_t width) { return TruncatePath(path.c_str(), width, SingleByteCodePage(), Units::kUtf16); };
  EXPECT_EQ(cut(33), path);
  EXPECT_EQ(cut(30), "C:\\" + a10 + std::string(9, '.') + "name.txt");
  EXPECT_EQ(cut(25), "C:\\" + a10 + std::string(4, '.') + "name.txt");
  // Counted in bytes the same path is too long for any of these widths.
  EXPECT_NE(TruncatePath(path.c_str(), 33, SingleByteCodePage()), path);
}

}  // namespace
}  // namespace vnk
