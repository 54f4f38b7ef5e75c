// Turning a loosely written drive argument ("C", "C:", "C:\DOS\FILE.TXT") into the root
// directory name the platform's disk services take.
#pragma once

namespace vnk {

struct RootName {
  char text[20];
};

// "" stays "", the current drive (the disk services are then asked with no root name at
// all, which names it); one character gets ":\"
// added, two get "\", three or more are cut to their first three. Nothing is checked or
// changed in case: a network path gives its first three characters, which are no root.
RootName DriveRoot(const char* drive);

}  // namespace vnk
