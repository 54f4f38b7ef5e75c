// The Windows-error-to-errno table.
#include <gtest/gtest.h>

#include <set>

#include "frame/errno_kernel.h"

namespace vnk {

// Every listed code gives its own number (no range shadows it), and each code once; the
// numbers callers test for are the ones they know.
TEST(ErrnoTable, ListedCodes) {
  std::set<unsigned> seen;
  for (const ErrnoPair& p : ErrnoTable()) {
    EXPECT_EQ(WinErrorToErrno(p.win_error), p.err) << "code " << p.win_error;
    EXPECT_TRUE(seen.insert(p.win_error).second) << "code " << p.win_error << " listed twice";
  }
  const std::pair<unsigned, int> known[] = {{2, 2},   {3, 2},   {5, 13},  {32, 13}, {80, 17},
                                            {145, 41}, {183, 17}, {112, 28}, {87, 22}};
  for (auto [code, err] : known) EXPECT_EQ(WinErrorToErrno(code), err) << "code " << code;
}

TEST(ErrnoTable, RangesAndDefault) {
  for (unsigned code = 19; code <= 36; ++code) EXPECT_EQ(WinErrorToErrno(code), 13) << code;
  for (unsigned code = 188; code <= 202; ++code) EXPECT_EQ(WinErrorToErrno(code), 8) << code;
  for (unsigned code : {0u, 14u, 37u, 100u, 187u, 203u, 1815u, 1817u, 0xFFFFFFFFu})
    EXPECT_EQ(WinErrorToErrno(code), 22) << code;
}

}  // namespace vnk
