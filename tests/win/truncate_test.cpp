// cTruncatePath through the DLL: a shortened path with its exact length, a fitting one
// unchanged, and the refusals as real empty strings. Every worked example is checked on
// the kernel itself.
#include "tests/win/harness.h"

namespace vnk::test {
namespace {

std::string Cut(const std::string& path, int32_t width) { return Take(dll().cTruncatePath(path.c_str(), width)); }

TEST(TruncatePath, ThroughTheExport) {
  std::string r = Cut("C:\\Program Files\\Some Long Folder\\Sub\\file.txt", 30);
  EXPECT_EQ(r, "C:\\Program Files\\Sub..file.txt");
  EXPECT_EQ(r.size(), 30u);
  EXPECT_EQ(Cut("\\\\server\\share\\dir\\sub\\file.txt", 25), "\\server\\share....file.txt");
  EXPECT_EQ(Cut("C:\\Short\\file.txt", 25), "C:\\Short\\file.txt");
  EXPECT_EQ(Cut("C:\\Short\\file.txt", 1000), "C:\\Short\\file.txt");

  EXPECT_EQ(Cut("C:\\Short\\file.txt", 24), "");
  EXPECT_EQ(Cut("C:\\Short\\", 100), "");
  EXPECT_EQ(Cut("", 100), "");
  std::string dir;
  while (dir.size() < 240) dir += "\\Folder";
  std::string path = "C:" + dir + "\\" + std::string(40, 'n') + ".txt";
  EXPECT_EQ(Cut(path, 256), "");  // above 255 and too long: nothing, never a cut path
  EXPECT_EQ(Cut(path, 60).size(), 60u);
}

}  // namespace
}  // namespace vnk::test
