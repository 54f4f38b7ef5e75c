// The fixed mapping from a Windows error code to the run-time error number that the
// exports of the "True or error number" family return.
#pragma once

#include <cstdint>

namespace vnk {

int WinErrorToErrno(uint32_t win_error);

}  // namespace vnk
