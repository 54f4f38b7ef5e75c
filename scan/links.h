// Telling a folder's own entries from links that lead elsewhere, so that a deletion by
// name never removes a file outside the folder it was given.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "frame/result_codes.h"
#include "scan/scan.h"

namespace vnk {

// The entries of one folder that a deletion may take. Two kinds of entry are links:
// - a reparse point of a link kind (a symbolic link or junction on Windows), known from
//   the entry's attributes and tag;
// - an entry whose file, opened by its path, is not the folder's own entry of that name.
//   Wine shows a Linux symbolic link to a file as a plain file (attributes 0x20, no
//   reparse bit, the target's size and identity), and deleting it by name deletes the
//   target and keeps the link; only the opened file's final path tells it: the
//   target's, not the folder's path and the entry's name.
// The second test needs the platform's final-path service (Windows Vista and later,
// every Wine); without it, or where it cannot name the folder, the first test stands
// alone.
// A reparse point of a link kind: a symbolic link, a junction or a mount point, and
// under Wine a Linux symbolic link to a folder. Microsoft's tags that are not name
// surrogates (cloud placeholders, deduplicated files) are files and folders in their own
// right.
bool IsLink(const DirEntry& entry);

class LinkCheck {
 public:
  // folder: the folder part of the caller's path as spelled ("", "C:", "C:\T\", "..\"),
  // in the call's encoding.
  explicit LinkCheck(std::string_view folder);

  // True when deleting path (the folder part followed by entry.name) removes that entry
  // and nothing else. False for a link, with ERROR_ACCESS_DENIED as the last error, or
  // when the entry cannot be examined, with the platform's error.
  bool Owns(const char* path, const DirEntry& entry);

  // Deletes path when it is the folder's own entry, as Owns tells it: true when it went.
  // False for a link (nothing is touched, ERROR_ACCESS_DENIED), for an entry that cannot
  // be examined, and for one that the platform keeps (read-only, in use), with the
  // platform's error; *refused tells the first two from the last. Where it can, the entry
  // is opened once, its final path read from that handle and the deletion asked of the
  // same handle, which saves a second open per file.
  bool DeleteOwn(const char* path, const DirEntry& entry, bool* refused);

  // Removes the folder link path (the folder part followed by entry.name) itself, never
  // the folder it leads to: true when the link went. The link is opened as itself and
  // removed only when that handle's final path is the link's own; where the platform
  // opens the target instead (Wine, for a Linux symbolic link), nothing is touched and
  // the link stays, since removing by name there would remove an empty target and keep
  // the link. Without the final-path service (Windows XP, whose only folder links are
  // junctions) the platform's folder removal takes the junction itself.
  bool RemoveLinkItself(const char* path, const DirEntry& entry);

 private:
  bool FolderKnown();
  // Whether a final path is the folder's own followed by the entry's name.
  bool IsOwnFinalPath(const std::string& mine, const DirEntry& entry) const;

  std::string folder_;
  bool looked_ = false;  // the folder's final path was asked for
  std::string final_;    // with a separator at its end; empty when unknown (the identity test is off)
};

// The single-name form: true when deleting name (an existing file) removes that entry
// and nothing else; false as above, also when the name cannot be listed as one entry.
bool OwnsName(const char* name);

}  // namespace vnk
