// Whether two names reach the same existing file, so that a routine never opens its own
// input for writing. The full paths are held in strings: callers run inside Shield.
#pragma once

namespace vnk {

// True when `other` exists and is the file `name` names: the same full path ignoring
// ASCII case, or the same file reached by another name (another spelling the platform
// folds, a link, a path through a different drive mapping).
bool SameExistingFile(const char* name, const char* other);

// True when `other` exists and is another directory entry of the file `name` names: a
// hard link to it, or a link that leads to it. The same entry spelled another way (in
// other letter case, or through another drive mapping of its folder) is not another
// entry: renaming a file to it is a rename, not a clash.
bool OtherEntryOfSameFile(const char* name, const char* other);

}  // namespace vnk
