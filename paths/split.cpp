// The ANSI code page's lead bytes, read once from the system.
#include "paths/split.h"

#include <windows.h>

namespace vnk {

const LeadBytes& AnsiLeadBytes() {
  static const LeadBytes table = [] {
    LeadBytes t{};
    CPINFO info;
    if (GetCPInfo(CP_ACP, &info))
      for (int r = 0; r + 1 < MAX_LEADBYTES && info.LeadByte[r] != 0; r += 2)
        for (unsigned b = info.LeadByte[r]; b <= info.LeadByte[r + 1]; ++b) t[b] = true;
    return t;
  }();
  return table;
}

}  // namespace vnk
