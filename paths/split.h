// The lead bytes of the process's ANSI code page, the lead-byte table of an ANSI call
// (system/text.h's CallLeadBytes answers for the call's own encoding).
#pragma once

#include "paths/split_kernel.h"

namespace vnk {

// The lead bytes of the process's ANSI code page.
const LeadBytes& AnsiLeadBytes();

}  // namespace vnk
