// cTruncatePath: a path shortened for display, over the truncation kernel.
#include "frame/host.h"
#include "paths/call_rules.h"
#include "paths/truncate_kernel.h"
#include "system/text.h"

using namespace vnk;

extern "C" BSTR __stdcall cTruncatePath(StrArg path, int32_t width) {
  // The only failure inside is running out of memory; the caller still gets a real string.
  BSTR result = Shield<BSTR>(nullptr, [&] { return NewString(TruncatePath(path, width, CallLeadBytes(), CallUnits())); });
  return result != nullptr ? result : EmptyString();
}
