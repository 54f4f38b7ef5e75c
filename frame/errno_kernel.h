// The fixed mapping from a Windows error code to the run-time error number that the
// exports of the "True or error number" family return.
#pragma once

#include <cstdint>
#include <span>

namespace vnk {

int WinErrorToErrno(uint32_t win_error);

// The codes mapped one by one; every other code falls in one of WinErrorToErrno's ranges
// or to 22. The tests and the fuzz target check the lookup against this very list.
struct ErrnoPair {
  uint16_t win_error;
  uint8_t err;
};
std::span<const ErrnoPair> ErrnoTable();

}  // namespace vnk
