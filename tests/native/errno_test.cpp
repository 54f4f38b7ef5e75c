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

// The mapping the platform's run-time library documents for its own functions, written
// out here from the names of the codes, apart from the table it checks: every code it
// lists gives its number, and the table lists no code it does not.
TEST(ErrnoTable, MatchesThePlatformsDocumentedMapping) {
  // The run-time library's errno values.
  constexpr int kNoEnt = 2, kTooBig = 7, kNoExec = 8, kBadF = 9, kChild = 10, kAgain = 11, kNoMem = 12,
                kAccess = 13, kExist = 17, kXDev = 18, kInval = 22, kMFile = 24, kNoSpc = 28, kPipe = 32,
                kNotEmpty = 41;
  struct Documented {
    unsigned code;
    const char* name;
    int err;
  };
  const Documented documented[] = {
      {1, "INVALID_FUNCTION", kInval},      {2, "FILE_NOT_FOUND", kNoEnt},
      {3, "PATH_NOT_FOUND", kNoEnt},        {4, "TOO_MANY_OPEN_FILES", kMFile},
      {5, "ACCESS_DENIED", kAccess},        {6, "INVALID_HANDLE", kBadF},
      {7, "ARENA_TRASHED", kNoMem},         {8, "NOT_ENOUGH_MEMORY", kNoMem},
      {9, "INVALID_BLOCK", kNoMem},         {10, "BAD_ENVIRONMENT", kTooBig},
      {11, "BAD_FORMAT", kNoExec},          {12, "INVALID_ACCESS", kInval},
      {13, "INVALID_DATA", kInval},         {15, "INVALID_DRIVE", kNoEnt},
      {16, "CURRENT_DIRECTORY", kAccess},   {17, "NOT_SAME_DEVICE", kXDev},
      {18, "NO_MORE_FILES", kNoEnt},        {33, "LOCK_VIOLATION", kAccess},
      {53, "BAD_NETPATH", kNoEnt},          {65, "NETWORK_ACCESS_DENIED", kAccess},
      {67, "BAD_NET_NAME", kNoEnt},         {80, "FILE_EXISTS", kExist},
      {82, "CANNOT_MAKE", kAccess},         {83, "FAIL_I24", kAccess},
      {87, "INVALID_PARAMETER", kInval},    {89, "NO_PROC_SLOTS", kAgain},
      {108, "DRIVE_LOCKED", kAccess},       {109, "BROKEN_PIPE", kPipe},
      {112, "DISK_FULL", kNoSpc},           {114, "INVALID_TARGET_HANDLE", kBadF},
      {128, "WAIT_NO_CHILDREN", kChild},    {129, "CHILD_NOT_COMPLETE", kChild},
      {130, "DIRECT_ACCESS_HANDLE", kBadF}, {131, "NEGATIVE_SEEK", kInval},
      {132, "SEEK_ON_DEVICE", kAccess},     {145, "DIR_NOT_EMPTY", kNotEmpty},
      {158, "NOT_LOCKED", kAccess},         {161, "BAD_PATHNAME", kNoEnt},
      {164, "MAX_THRDS_REACHED", kAgain},   {167, "LOCK_FAILED", kAccess},
      {183, "ALREADY_EXISTS", kExist},      {206, "FILENAME_EXCED_RANGE", kNoEnt},
      {215, "NESTING_NOT_ALLOWED", kAgain}, {1816, "NOT_ENOUGH_QUOTA", kNoMem},
  };
  std::set<unsigned> listed;
  for (const Documented& d : documented) {
    EXPECT_EQ(WinErrorToErrno(d.code), d.err) << "ERROR_" << d.name << " (" << d.code << ")";
    listed.insert(d.code);
  }
  for (const ErrnoPair& p : ErrnoTable()) EXPECT_TRUE(listed.count(p.win_error)) << "code " << p.win_error;
  EXPECT_EQ(ErrnoTable().size(), listed.size());
}

TEST(ErrnoTable, RangesAndDefault) {
  for (unsigned code = 19; code <= 36; ++code) EXPECT_EQ(WinErrorToErrno(code), 13) << code;
  for (unsigned code = 188; code <= 202; ++code) EXPECT_EQ(WinErrorToErrno(code), 8) << code;
  for (unsigned code : {0u, 14u, 37u, 100u, 187u, 203u, 1815u, 1817u, 0xFFFFFFFFu})
    EXPECT_EQ(WinErrorToErrno(code), 22) << code;
}

}  // namespace vnk
