// Path splitting in the process's ANSI code page.
#pragma once

#include "paths/split_kernel.h"

namespace vnk {

// The lead bytes of the process's ANSI code page.
const LeadBytes& AnsiLeadBytes();

inline SplitParts SplitAnsiPath(std::string_view path) { return SplitPath(path, AnsiLeadBytes()); }

}  // namespace vnk
