// Writing a target beside itself: the new bytes go to a file under a temporary name in
// the target's own folder, and only once that file is complete and closed is it renamed
// over the target. A write that fails therefore leaves no partial target behind, and a
// target that existed keeps its old bytes.
#pragma once

#include <windows.h>

#include <string>

#include "frame/host.h"

namespace vnk {

// What stands at a target's name, asked before anything is written.
struct TargetCheck {
  bool ok = true;       // the target may be written
  bool direct = false;  // a device, or a name a file beside it cannot replace: written as it stands
  DWORD error = 0;      // when !ok: the Windows error opening it for writing would give
};

// Refuses what opening the target for writing would refuse, without changing it: a
// read-only file or a folder (access denied), a file another handle holds without
// sharing writing (that handle's sharing violation). A device is written directly.
TargetCheck CheckTarget(const char* target);

// A new empty file beside a target, named "~vnkXXXX.tmp" in the target's folder (the
// current folder for a target given without one), so that putting it in place is a
// rename on one volume. Deleted when the owner goes out of scope unless put in place.
class StagedFile {
 public:
  StagedFile() = default;
  ~StagedFile() { Discard(); }
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  // Makes the file, with a name no other file has. False when it cannot be made (the
  // folder is missing or cannot be written: GetLastError tells) or when its name would
  // not fit the call's paths (then `too_long` is set and the caller writes the target
  // directly).
  // `access` and `h` (optional) keep the new file open for writing.
  bool Create(const char* target, DWORD access = 0, UniqueHandle* h = nullptr, bool* too_long = nullptr);

  // As Create, but the file is made by make(name, context), which must create a new
  // file at name and fail (GetLastError telling why) where one is there already, as
  // CopyFile does when told to fail if the target exists: a copy made that way gets
  // Source's attributes, which a copy over an existing file would not. Whatever a
  // failed make left at a name that was free is deleted.
  using Maker = bool (*)(const char* name, void* context);
  bool CreateWith(const char* target, Maker make, void* context, bool* too_long = nullptr);

  const char* name() const { return name_.c_str(); }
  bool active() const { return !name_.empty(); }

  // Renames the finished file over the target, which is replaced whatever it is (the
  // caller has checked it). With `keep_marks` the new file first takes the old target's
  // hidden and system attributes, as a target written over in place keeps them. False
  // (GetLastError tells why) leaves the target as it was and deletes the staged file.
  bool PutInPlace(bool keep_marks);

  // Deletes the staged file (a copy may have made it read-only). Never throws: it runs
  // as the owner goes, also while a failure unwinds.
  void Discard() noexcept;

 private:
  const char* target_ = "";
  std::string name_;
};

}  // namespace vnk
