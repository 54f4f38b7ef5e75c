// Whether two names reach the same existing file, so that a routine never opens its own
// input for writing.
#pragma once

namespace vnk {

// True when `other` exists and is the file `name` names: the same full path ignoring
// ASCII case, or the same file reached by another name (another spelling the platform
// folds, a link, a path through a different drive mapping).
bool SameExistingFile(const char* name, const char* other);

}  // namespace vnk
