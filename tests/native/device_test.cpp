// Device names: every spelling the platform takes for a device, and the file names that
// merely look like one.
#include <gtest/gtest.h>

#include "paths/device_kernel.h"

namespace vnk {

TEST(NamesDevice, DeviceSpellings) {
  for (const char* name : {"NUL", "nul", "Nul.txt", "NUL:", "nul.tar.gz", "C:\\T\\nul", "C:nul", "T/Sub/con.log",
                           "aux", "PRN.", "com1", "COM9.x", "lpt1", "LPT9:", "nul .txt", "CONIN$", "conout$",
                           "\\\\.\\NUL", "\\\\.\\C:", "//./pipe/x", "\\\\.\\PhysicalDrive0"}) {
    EXPECT_TRUE(NamesDevice(name)) << name;
  }
}

TEST(NamesDevice, FileNamesThatOnlyLookLikeDevices) {
  for (const char* name : {"", "nulls", "anul", "null.txt", "com0", "com10", "lpt", "C:\\nul\\a.txt", "C:",
                           "~!!TMP~.TMP", "\\\\server\\share\\file", "\\\\?\\C:\\file", "x\\.nul", "con_1",
                           "\\\\..\\x"}) {
    EXPECT_FALSE(NamesDevice(name)) << name;
  }
}

}  // namespace vnk
