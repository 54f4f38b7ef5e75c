// File name validation, one case per rule and the length limits.
#include <gtest/gtest.h>

#include <string>

#include "paths/validate_kernel.h"

namespace vnk {

TEST(ValidateFileName, AcceptsOrdinaryPaths) {
  for (const char* ok : {"C:\\DATA\\REPORT.TXT", "REPORT", "REPORT.", "..\\REPORT.TXT", "A.B\\C.D",
                         "\\\\SERVER\\SHARE\\X", "a b!#$%&'()+,;=[]^_`{}~\x7F\x80\xFF"})
    EXPECT_EQ(ValidateFileName(ok), -1) << ok;
}

TEST(ValidateFileName, RefusalCodes) {
  struct Case { const char* text; int code; } cases[] = {
      {"", 0}, {"C:", 0}, {"C:\\", 0}, {"C:\\DATA\\", 0}, {".", 0}, {"..", 0}, {".\\X", 0}, {"A.B.C", 0},
      {"C:\\.X", 6}, {"C:.X", 6}, {"..\\..\\X", 6}, {"\\\\\\X", 3}, {"1:\\X", 4}, {"AB:X", 5},
      {"A*B", 0}, {"A?B", 0}, {"A<B", 0}, {"A>B", 0}, {"A|B", 0}, {"A/B", 0}, {"A\"B", 0}, {"A\tB", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ValidateFileName(c.text), c.code) << "[" << c.text << "]";
}

TEST(ValidateFileName, LengthLimits) {
  EXPECT_EQ(ValidateFileName(std::string(516, 'A').c_str()), -1);
  EXPECT_EQ(ValidateFileName(std::string(517, 'A').c_str()), 0);
  EXPECT_EQ(ValidateFileName((std::string(256, 'N') + ".X").c_str()), -1);
  EXPECT_EQ(ValidateFileName((std::string(257, 'N') + ".X").c_str()), 1);
  EXPECT_EQ(ValidateFileName(("N." + std::string(256, 'E')).c_str()), -1);
  EXPECT_EQ(ValidateFileName(("N." + std::string(257, 'E')).c_str()), 2);
  // A name part without any dot is limited only by the whole length.
  EXPECT_EQ(ValidateFileName(("C:\\" + std::string(400, 'D')).c_str()), -1);
  // A twin's lengths count UTF-16 units: 256 Greek letters (512 bytes) are a full name
  // part, 257 one too many; the whole path may have 32,767 units.
  std::string greek256;
  for (int i = 0; i < 256; ++i) greek256 += "\xCE\xB1";
  EXPECT_EQ(ValidateFileName((greek256 + ".X").c_str(), Units::kUtf16), -1);
  EXPECT_EQ(ValidateFileName((greek256 + "\xCE\xB1.X").c_str(), Units::kUtf16), 1);
  EXPECT_EQ(ValidateFileName((greek256 + ".X").c_str()), 1);
  std::string deep = "C:";
  for (int part = 0; part < 127; ++part) deep += "\\" + greek256;  // 2 + 127 * 257 = 32,641 units
  EXPECT_EQ(ValidateFileName(deep.c_str(), Units::kUtf16), -1);
  EXPECT_EQ(ValidateFileName((deep + "\\" + greek256).c_str(), Units::kUtf16), 0);
  EXPECT_EQ(ValidateFileName(deep.c_str()), 0);
}

}  // namespace vnk
