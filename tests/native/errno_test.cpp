// The Windows-error-to-errno table.
#include <gtest/gtest.h>

#include "frame/errno_kernel.h"

namespace vnk {

TEST(ErrnoTable, ListedCodes) {
  const std::pair<unsigned, int> listed[] = {
      {1, 22},   {2, 2},    {3, 2},    {4, 24},   {5, 13},   {6, 9},    {7, 12},   {8, 12},  {9, 12},
      {10, 7},   {11, 8},   {12, 22},  {13, 22},  {15, 2},   {16, 13},  {17, 18},  {18, 2},  {33, 13},
      {53, 2},   {65, 13},  {67, 2},   {80, 17},  {82, 13},  {83, 13},  {87, 22},  {89, 11}, {108, 13},
      {109, 32}, {112, 28}, {114, 9},  {128, 10}, {129, 10}, {130, 9},  {131, 22}, {132, 13}, {145, 41},
      {158, 13}, {161, 2},  {164, 11}, {167, 13}, {183, 17}, {206, 2},  {215, 11}, {1816, 12}};
  for (auto [code, err] : listed) EXPECT_EQ(WinErrorToErrno(code), err) << "code " << code;
}

TEST(ErrnoTable, RangesAndDefault) {
  for (unsigned code = 19; code <= 36; ++code) EXPECT_EQ(WinErrorToErrno(code), 13) << code;
  for (unsigned code = 188; code <= 202; ++code) EXPECT_EQ(WinErrorToErrno(code), 8) << code;
  for (unsigned code : {0u, 14u, 37u, 100u, 187u, 203u, 1815u, 1817u, 0xFFFFFFFFu})
    EXPECT_EQ(WinErrorToErrno(code), 22) << code;
}

}  // namespace vnk
