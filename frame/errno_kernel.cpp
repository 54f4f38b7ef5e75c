// Windows error code to run-time error number, the table that VB programs of this kind
// test their results against (2 missing, 13 denied, 17 exists, 41 not empty, ...).
#include "frame/errno_kernel.h"

namespace vnk {
namespace {

constexpr ErrnoPair kTable[] = {
    {1, 22},   {2, 2},    {3, 2},    {4, 24},   {5, 13},   {6, 9},    {7, 12},   {8, 12},
    {9, 12},   {10, 7},   {11, 8},   {12, 22},  {13, 22},  {15, 2},   {16, 13},  {17, 18},
    {18, 2},   {33, 13},  {53, 2},   {65, 13},  {67, 2},   {80, 17},  {82, 13},  {83, 13},
    {87, 22},  {89, 11},  {108, 13}, {109, 32}, {112, 28}, {114, 9},  {128, 10}, {129, 10},
    {130, 9},  {131, 22}, {132, 13}, {145, 41}, {158, 13}, {161, 2},  {164, 11}, {167, 13},
    {183, 17}, {206, 2},  {215, 11}, {1816, 12},
};

}  // namespace

std::span<const ErrnoPair> ErrnoTable() { return kTable; }

int WinErrorToErrno(uint32_t win_error) {
  for (const ErrnoPair& p : kTable)
    if (p.win_error == win_error) return p.err;
  if (win_error >= 19 && win_error <= 36) return 13;   // the write-protect and sharing range
  if (win_error >= 188 && win_error <= 202) return 8;  // bad executable formats
  return 22;
}

}  // namespace vnk
