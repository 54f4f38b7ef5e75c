// The Windows error to run-time error number table, against the mapping as callers
// know it.
#include <map>

#include "frame/errno_kernel.h"
#include "fuzz/fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::map<uint32_t, int> table = {
      {1, 22},   {2, 2},    {3, 2},    {4, 24},   {5, 13},   {6, 9},    {7, 12},   {8, 12},   {9, 12},
      {10, 7},   {11, 8},   {12, 22},  {13, 22},  {15, 2},   {16, 13},  {17, 18},  {18, 2},   {33, 13},
      {53, 2},   {65, 13},  {67, 2},   {80, 17},  {82, 13},  {83, 13},  {87, 22},  {89, 11},  {108, 13},
      {109, 32}, {112, 28}, {114, 9},  {128, 10}, {129, 10}, {130, 9},  {131, 22}, {132, 13}, {145, 41},
      {158, 13}, {161, 2},  {164, 11}, {167, 13}, {183, 17}, {206, 2},  {215, 11}, {1816, 12}};
  FuzzedDataProvider in(data, size);
  uint32_t code = in.ConsumeIntegral<uint32_t>();
  // Small codes are the interesting ones; fold most inputs into the table's range.
  if (in.ConsumeBool()) code %= 2048;
  int want;
  auto it = table.find(code);
  if (it != table.end()) want = it->second;
  else if (code >= 19 && code <= 36) want = 13;
  else if (code >= 188 && code <= 202) want = 8;
  else want = 22;
  int got = vnk::WinErrorToErrno(code);
  FUZZ_CHECK(got == want, "code %u: got %d, want %d", code, got, want);
  return 0;
}
