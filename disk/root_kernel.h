// Turning a loosely written drive argument ("C", "C:", "C:\DOS\FILE.TXT") into the root
// directory name the platform's disk services take.
#pragma once

namespace vnk {

struct RootName {
  char text[20];
};

// "" stays "" (the platform decides what an empty root means); one character gets ":\"
// added, two get "\", three or more are cut to their first three. Nothing is checked or
// changed in case: a network path gives its first three characters, which are no root.
RootName DriveRoot(const char* drive);

}  // namespace vnk
