// The call's lexical rules.
#include "paths/call_rules.h"

#include <windows.h>

#include "system/text.h"

namespace vnk {
namespace {

// The lead bytes of the process's ANSI code page, read once from the system.
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

}  // namespace

const LeadBytes& CallLeadBytes() {
  return CurrentEncoding() == CallEncoding::kUtf8 ? SingleByteCodePage() : AnsiLeadBytes();
}

Units CallUnits() { return CurrentEncoding() == CallEncoding::kUtf8 ? Units::kUtf16 : Units::kBytes; }

}  // namespace vnk
