// cTruncatePath through the DLL: results with their exact lengths, the refusals, and the
// host's Long width taken as given.
#include "tests/win/harness.h"

namespace vnk::test {
namespace {

std::string Cut(const std::string& path, int32_t width) { return Take(dll().cTruncatePath(path.c_str(), width)); }

TEST(TruncatePath, ShortensToExactlyTheWidth) {
  std::string r = Cut("C:\\Program Files\\Some Long Folder\\Sub\\file.txt", 30);
  EXPECT_EQ(r, "C:\\Program Files\\Sub..file.txt");
  EXPECT_EQ(r.size(), 30u);
  EXPECT_EQ(Cut("C:\\A\\BB\\CCC\\DDDD\\EEEEE\\FFFFFF\\report.doc", 30), "C:\\A\\BB\\CCC\\DDDD....report.doc");
  EXPECT_EQ(Cut("D:\\Data\\Projects\\Reports\\Quarterly\\Summary\\results.xls", 35),
            "D:\\Data\\Projects........results.xls");
  EXPECT_EQ(Cut("C:\\VeryLongDirectoryName\\file.txt", 25), "C:...............file.txt");
  EXPECT_EQ(Cut("Docs\\Letters\\Archive\\Old\\letter.txt", 25), "Docs\\Letters...letter.txt");
  EXPECT_EQ(Cut("\\\\server\\share\\dir\\sub\\file.txt", 25), "\\server\\share....file.txt");
}

TEST(TruncatePath, FittingPathsComeBackUnchanged) {
  EXPECT_EQ(Cut("C:\\Short\\file.txt", 25), "C:\\Short\\file.txt");
  EXPECT_EQ(Cut("C:\\A\\BB\\CCC\\DDDD\\EEEEE\\FFFFFF\\report.doc", 40), "C:\\A\\BB\\CCC\\DDDD\\EEEEE\\FFFFFF\\report.doc");
  EXPECT_EQ(Cut("C:\\Short\\file.txt", 1000), "C:\\Short\\file.txt");
}

TEST(TruncatePath, RefusalsAreTheEmptyString) {
  EXPECT_EQ(Cut("C:\\Short\\file.txt", 24), "");
  EXPECT_EQ(Cut("C:\\Short\\file.txt", -1), "");
  EXPECT_EQ(Cut("C:\\Short\\", 100), "");
  EXPECT_EQ(Cut("C:\\Sh*rt\\file.txt", 100), "");
  EXPECT_EQ(Cut("", 100), "");
  // A width above 255 for a path that does not fit: nothing rather than a path cut short.
  std::string dir;
  while (dir.size() < 240) dir += "\\Folder";
  std::string path = "C:" + dir + "\\" + std::string(40, 'n') + ".txt";
  EXPECT_EQ(Cut(path, 256), "");
  EXPECT_EQ(Cut(path, 60).size(), 60u);
}

}  // namespace
}  // namespace vnk::test
