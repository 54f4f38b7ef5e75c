// Path splitting, including double-byte characters whose trail byte looks like "\".
#include <gtest/gtest.h>

#include <string>

#include "paths/split_kernel.h"

namespace vnk {
namespace {
std::string Show(const SplitParts& p) {
  return std::string(p.drive) + "|" + std::string(p.dir) + "|" + std::string(p.name) + "|" + std::string(p.ext);
}
}  // namespace

TEST(SplitPath, Parts) {
  const LeadBytes& sb = SingleByteCodePage();
  EXPECT_EQ(Show(SplitPath("C:\\DATA\\OLD.V1\\report.txt", sb)), "C:|\\DATA\\OLD.V1\\|report|.txt");
  EXPECT_EQ(Show(SplitPath("report.txt", sb)), "||report|.txt");
  EXPECT_EQ(Show(SplitPath("C:\\DIR.X\\NAME", sb)), "C:|\\DIR.X\\|NAME|");
  EXPECT_EQ(Show(SplitPath("a/b/c.d.e", sb)), "|a/b/|c.d|.e");
  EXPECT_EQ(Show(SplitPath("C:", sb)), "C:|||");
  EXPECT_EQ(Show(SplitPath("", sb)), "|||");
}

TEST(SplitPath, LongPartsComeBackWhole) {
  std::string dir = "\\" + std::string(300, 'D') + "\\";
  std::string name(300, 'N'), ext = "." + std::string(300, 'E');
  std::string path = "C:" + dir + name + ext;
  SplitParts p = SplitPath(path, SingleByteCodePage());
  EXPECT_EQ(p.drive, "C:");
  EXPECT_EQ(p.dir, dir);
  EXPECT_EQ(p.name, name);
  EXPECT_EQ(p.ext, ext);
}

TEST(SplitPath, TrailByteIsNeverASeparatorOrDot) {
  LeadBytes sjis{};
  for (int b = 0x81; b <= 0x9F; ++b) sjis[b] = true;
  // 0x95 0x5C is one character whose second byte has the value of "\"; 0x81 0x2E likewise for ".".
  EXPECT_EQ(Show(SplitPath("C:\\A\x95\\B.TXT", sjis)), "C:|\\|A\x95\\B|.TXT");
  EXPECT_EQ(Show(SplitPath("X\x81.Y", sjis)), "||X\x81.Y|");
  EXPECT_EQ(Show(SplitPath("C:\\A\x95\\B.TXT", SingleByteCodePage())), "C:|\\A\x95\\|B|.TXT");
}

}  // namespace vnk
