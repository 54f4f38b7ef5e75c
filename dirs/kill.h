// Deletion routines shared inside the library.
#pragma once

#include <cstdint>

namespace vnk {

// The single-file deletion: -1 when the file is gone (or was never there), otherwise
// the run-time error number of the failed deletion.
int16_t KillFile(const char* name);

// The delete-if-present routine: like KillFile, but read-only, hidden and system files
// go too. -1 when the file is gone (or was never there), 0 when its attributes could
// not be cleared, otherwise the run-time error number of the failed deletion.
int16_t KillFileAll(const char* name);

// Deletes the files that a pattern such as C:\T\*.BAK matches and answers how many
// went. The name part is matched against each file's long name with the library's own
// name test (WalkNameMatches: letters in either case, "*" any run, never a short alias),
// except that "*.*" alone takes every name, as Windows reads it in a deletion; a pattern
// without a name part deletes nothing. With
// strip, each file's protective attributes are cleared first, so read-only
// files go too. Folder entries are never touched: they cannot be deleted as files, and
// their attributes (the folder's own through ".", its parent's through "..") stay.
int32_t KillMatchingFiles(const char* pattern, bool strip);

// What KillTree does besides deleting the matching files of every folder below.
enum class TreeMode : int16_t {
  kFilesOnly = 0,      // remove no folder; answer the number of files deleted
  kBelow = -1,         // remove the folders below, keep the folder itself
  kBelowAndSelf = 1,   // remove the folder itself too
};

// The tree deletion behind cKillDirs and cKillDirFilesAll: deletes the files matching
// pattern in every folder below folder (not in folder itself), deepest first, and in
// the removing modes removes those folders. Folder links below are neither entered nor
// removed. Answers the number of folders removed (removing modes) or files deleted;
// RC_ROOT_REFUSED for a drive's or share's root, RC_NO_MEMORY when the walk's table
// cannot be allocated, both before anything is deleted. A folder that is itself a link
// is never walked: kBelowAndSelf removes the link alone where the platform can (1, else
// 0), the other modes touch nothing (0).
int32_t KillTree(const char* folder, const char* pattern, TreeMode mode);

}  // namespace vnk
