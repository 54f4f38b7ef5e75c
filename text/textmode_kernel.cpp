// The runtime's text-mode read over whole blocks.
#include "text/textmode_kernel.h"

#include <cstring>

#include "frame/bytes_kernel.h"

namespace vnk {

TextModeStep TextModeInPlace(char* p, size_t n, bool last) {
  const char* ctrl_z = FindByte(p, n, '\x1A');
  const size_t end = ctrl_z != nullptr ? static_cast<size_t>(ctrl_z - p) : n;
  const bool stop = ctrl_z != nullptr;
  size_t i = 0, o = 0;
  while (i < end) {
    // Text between CRs moves across whole (left, over bytes already taken).
    const char* cr = FindByte(p + i, end - i, '\r');
    size_t run = (cr != nullptr ? static_cast<size_t>(cr - p) : end) - i;
    if (o != i) std::memmove(p + o, p + i, run);
    o += run;
    i += run;
    if (cr == nullptr) break;
    if (i + 1 < end) {
      // CR LF is one LF; a CR before anything else stays a CR.
      bool pair = p[i + 1] == '\n';
      p[o++] = pair ? '\n' : '\r';
      i += pair ? 2 : 1;
    } else if (stop || last) {
      p[o++] = '\r';  // before the 0x1A, or the file's last byte
      ++i;
    } else {
      return {o, i, false};  // the next bytes decide
    }
  }
  return {o, stop ? end : n, stop};
}

}  // namespace vnk
