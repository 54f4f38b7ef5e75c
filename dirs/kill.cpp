// Deletion of files, file sets, folders and folder trees.
#include "dirs/kill.h"

#include <cstring>
#include <cerrno>
#include <string>

#include "files/attrib.h"
#include "frame/host.h"
#include "paths/call_rules.h"
#include "paths/path_kernel.h"
#include "paths/rules_kernel.h"
#include "scan/links.h"
#include "scan/scan.h"
#include "scan/walk.h"
#include "scan/wildcard_kernel.h"
#include "system/fs.h"
#include "system/text.h"

namespace vnk {
namespace {

// Removes a folder whatever its read-only, hidden and system bits say. When the folder
// stays (it still holds something), it gets its attributes back.
// The removal is tried first; only a folder that stays has its protective bits looked
// at, cleared, and the removal tried again.
bool RemoveFolderAll(const char* folder) {
  if (sys::RemoveFolder(folder)) return true;
  DWORD word = sys::Attributes(folder);
  bool stripped = word != INVALID_FILE_ATTRIBUTES && (word & (ATTR_READONLY | ATTR_HIDDEN | ATTR_SYSTEM)) != 0 &&
                  AttributeClear(folder, ATTR_STRIP_FOR_DELETE) == VB_TRUE;
  if (!stripped) return false;
  if (sys::RemoveFolder(folder)) return true;
  sys::SetAttributes(folder, word);
  return false;
}

// Whether the folder a tree deletion was given (its full path, without trailing
// backslashes) is itself a folder link, and its entry as its parent lists it. A name
// with wildcards cannot be listed as one entry; such a folder link counts as a link
// whose entry is unknown (entry->name empty).
bool NamedFolderIsLink(const char* full, DirEntry* entry) {
  DWORD word = sys::Attributes(full);
  if (word == INVALID_FILE_ATTRIBUTES || (word & ATTR_DIRECTORY) == 0 || (word & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
    return false;
  entry->name[0] = '\0';
  if (HasWildcards(full)) return true;
  // A folder that cannot be listed as one entry stays a link, of unknown entry.
  ScopedScan scan(full, entry, ScanFields::kNoTimes);
  return !scan.ok() || IsLink(*entry);
}

}  // namespace

// A name that is a link is refused (13) rather than deleted: under Wine the deletion
// would take the file the link points to and keep the link, and the library cannot
// remove a link there without reaching its target.
int16_t KillFile(const char* name) {
  // Nothing to delete counts as success.
  if (sys::Attributes(name) == INVALID_FILE_ATTRIBUTES) return VB_TRUE;
  if (!OwnsName(name)) return LastErrno();
  if (sys::DeleteFile(name)) return VB_TRUE;
  return LastErrno();
}

int16_t KillFileAll(const char* name) {
  if (sys::Attributes(name) == INVALID_FILE_ATTRIBUTES) return VB_TRUE;
  // Before the attributes are cleared: through a link they are the target's.
  if (!OwnsName(name)) return LastErrno();
  if (AttributeClear(name, ATTR_STRIP_FOR_DELETE) != VB_TRUE) return VB_FALSE;
  if (sys::DeleteFile(name)) return VB_TRUE;
  return LastErrno();
}

int32_t KillMatchingFiles(const char* pattern, bool strip) {
  if (!FitsCallPath(pattern)) return 0;
  size_t length = strlen(pattern);
  // Each entry's path is the pattern's drive and folder followed by the entry's name.
  size_t folder_part = DriveAndFolderLength(std::string_view(pattern, length), CallLeadBytes());
  // The folder is listed whole and each long name put to the library's own name test,
  // the one the accounting counts with. The platform's matching would also take a file
  // whose short (8.3) alias matches: "*.htm" would delete report.html, "*.bak"
  // ledger.bakery. A pattern without a name part names no file. "*.*" alone keeps the
  // meaning every program gives it in a deletion, every file: callers empty folders
  // with it, and a name without a dot is no less in the folder.
  char folded[SCAN_PATTERN_CHARS + 1];
  if (folder_part == length) return 0;
  const char* name_part = strcmp(pattern + folder_part, "*.*") == 0 ? "*" : pattern + folder_part;
  if (!FoldedPattern(name_part, folded)) return 0;
  if (folder_part + 1 > CallPathLimit()) return 0;
  std::string every(pattern, folder_part);
  every.push_back('*');
  EntryPath paths(pattern, folder_part);
  LinkCheck links(std::string_view(pattern, folder_part));

  int32_t count = 0;
  DirEntry entry;
  ScopedScan scan(every.c_str(), &entry, ScanFields::kNoTimes);
  for (bool have = scan.ok(); have; have = scan.Next(&entry)) {
    if ((entry.attrib & ATTR_DIRECTORY) || !WalkNameMatches(entry.name, folded)) continue;
    const char* path = paths.Of(entry);
    // A link is neither cleared nor deleted: both would act on the file it points to.
    // Most files go at the first attempt; only a refused delete (a read-only file, say)
    // has its attributes cleared and is tried again, which ends where clearing first
    // would: deleted, or left with its attributes cleared.
    bool refused = false;
    if (links.DeleteOwn(path, entry, &refused)) {
      ++count;
      continue;
    }
    if (refused || !strip || AttributeClear(path, ATTR_STRIP_FOR_DELETE) != VB_TRUE) continue;
    if (sys::DeleteFile(path)) ++count;
  }
  return count;
}

int32_t KillTree(const char* folder, const char* pattern, TreeMode mode) {
  // A blank folder would walk the root of the current drive; a tree deletion never
  // takes that from a blank string (an unset host variable) and deletes nothing.
  if (folder[0] == '\0') return 0;
  // As rm refuses "/", a drive's or share's root is refused whole, however it is
  // spelled ("X:\", "X:/", "\\server\share", "X:\DIR\..", or a bare "X:" whose current
  // folder is the root). A folder whose full path cannot be had is not touched either.
  std::string full;
  if (!sys::FullPath(folder, &full) || full.size() > CallPathLimit()) return 0;
  if (IsRoot(full.c_str())) return RC_ROOT_REFUSED;
  // A folder that is itself a link leads elsewhere: only the link may go, never what it
  // points to, as rm -r and rd /s do. It goes only where the folder itself is to go.
  full.resize(TrimmedFolderLength(full.c_str(), CallLeadBytes()));
  DirEntry named;
  if (NamedFolderIsLink(full.c_str(), &named)) {
    if (mode != TreeMode::kBelowAndSelf || named.name[0] == '\0') return 0;
    LinkCheck parent(std::string_view(full).substr(0, DriveAndFolderLength(full, CallLeadBytes())));
    return parent.RemoveLinkItself(full.c_str(), named) ? 1 : 0;
  }

  WalkTable table = CollectSubDirectories(folder);
  if (!table.ok()) return RC_NO_MEMORY;

  int32_t files = 0, folders = 0;
  size_t pattern_len = BoundedLength(pattern, CallPathLimit());
  // From the last path to the first: every folder comes after all folders below it, so
  // each is already empty of sub-folders when its turn comes. A collected path never ends
  // with a separator, so each gets one before the pattern.
  for (int i = table.count - 1; i >= 0; --i) {
    const char* p = table.path(i);
    size_t p_len = strlen(p);
    if (p_len + 1 + pattern_len <= CallPathLimit()) {
      std::string files_pattern = JoinFolderAndName(p, std::string_view(pattern, pattern_len), CallLeadBytes());
      files += KillMatchingFiles(files_pattern.c_str(), true);
    }
    if (mode != TreeMode::kFilesOnly && RemoveFolderAll(p)) ++folders;
  }
  table.block.reset();

  if (mode == TreeMode::kBelowAndSelf && RemoveFolderAll(folder)) ++folders;
  return mode == TreeMode::kFilesOnly ? files : folders;
}

}  // namespace vnk

using namespace vnk;

extern "C" int16_t __stdcall cKillFile(StrArg name) {
  return Shield<int16_t>(ENOMEM, [&] { return KillFile(name); });
}
extern "C" int16_t __stdcall cKillFileAll(StrArg name) {
  return Shield<int16_t>(ENOMEM, [&] { return KillFileAll(name); });
}

extern "C" int16_t __stdcall cKillFiles(StrArg pattern) {
  return Shield<int16_t>(0, [&] { return static_cast<int16_t>(KillMatchingFiles(pattern, false)); });
}
extern "C" int16_t __stdcall cKillFilesAll(StrArg pattern) {
  return Shield<int16_t>(0, [&] { return static_cast<int16_t>(KillMatchingFiles(pattern, true)); });
}

extern "C" int16_t __stdcall cKillDir(StrArg folder) {
  return Shield<int16_t>(ENOMEM, [&] { return sys::RemoveFolder(folder) ? VB_TRUE : LastErrno(); });
}

extern "C" int16_t __stdcall cKillDirs(StrArg folder, int16_t remove_folder_too) {
  return Shield<int16_t>(static_cast<int16_t>(RC_NO_MEMORY), [&] {
    return static_cast<int16_t>(
        KillTree(folder, "*", remove_folder_too != 0 ? TreeMode::kBelowAndSelf : TreeMode::kBelow));
  });
}

extern "C" int16_t __stdcall cKillDirFilesAll(StrArg folder, StrArg pattern) {
  return Shield<int16_t>(static_cast<int16_t>(RC_NO_MEMORY),
                         [&] { return static_cast<int16_t>(KillTree(folder, pattern, TreeMode::kFilesOnly)); });
}
