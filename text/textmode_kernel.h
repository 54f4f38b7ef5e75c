// What the runtime's text-mode read makes of a file's bytes, done over whole blocks read
// in binary: CR LF becomes LF, a CR before anything else (or at the end of the file)
// stays, and the text ends at the first 0x1A byte.
#pragma once

#include <cstddef>

namespace vnk {

struct TextModeStep {
  size_t length;  // text written at the start of the block
  size_t used;    // raw bytes taken: all of them, or all but a held-back final CR
  bool stop;      // a 0x1A byte was met: the text ends here, whatever follows
};

// Translates the raw bytes p[0, n) in place. `last` says that no bytes follow them. A CR
// that is the final raw byte while more may follow is not taken (used is then n - 1):
// the caller puts it in front of the next bytes, where its neighbour decides.
TextModeStep TextModeInPlace(char* p, size_t n, bool last);

}  // namespace vnk
