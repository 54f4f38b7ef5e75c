// Deletion of single files, file sets, folders and folder trees, with the exact set of
// what survives each deletion in a tree of protected files and folders.
#include <algorithm>
#include <set>

#include "tests/win/harness.h"

namespace vnk::test {
namespace {

using Names = std::set<std::string>;

// Every file and folder below root, as paths relative to it ("A\B\x.txt").
void Collect(const std::string& root, const std::string& rel, Names* out) {
  WIN32_FIND_DATAA fd;
  std::string base = rel.empty() ? root : root + "\\" + rel;
  HANDLE h = FindFirstFileA((base + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    std::string sub = rel.empty() ? name : rel + "\\" + name;
    out->insert(sub);
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) Collect(root, sub, out);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
}

Names Survivors(const std::string& root) {
  Names n;
  Collect(root, "", &n);
  return n;
}

Names Without(Names all, std::initializer_list<const char*> gone) {
  for (const char* g : gone) EXPECT_EQ(all.erase(g), 1u) << g;
  return all;
}

void Protect(const std::string& path, DWORD attrib) {
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), attrib)) << path;
}

// A tree with read-only, hidden and system files and folders, a dotted folder directly
// below the top (which the tree deletions never enter) and one deeper (which they do).
class ProtectedTree : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string& t = dir.path();
    for (const char* d : {"A", "A\\B", "A\\.deep", "H", "S", ".dotdir"}) MakeDir(dir / d);
    for (const char* f : {"plain.txt", "ro.txt", "hid.txt", "sys.txt", "A\\a.txt", "A\\ro.txt", "A\\B\\hid.txt",
                          "A\\B\\sys.bak", "A\\.deep\\x.bak", "H\\h.txt", "S\\s.bak", ".dotdir\\inner.txt"})
      WriteBytes(dir / f, "data");
    Protect(dir / "ro.txt", FILE_ATTRIBUTE_READONLY);
    Protect(dir / "hid.txt", FILE_ATTRIBUTE_HIDDEN);
    Protect(dir / "sys.txt", FILE_ATTRIBUTE_SYSTEM);
    Protect(dir / "A\\ro.txt", FILE_ATTRIBUTE_READONLY);
    Protect(dir / "A\\B\\hid.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    Protect(dir / "A\\B\\sys.bak", FILE_ATTRIBUTE_SYSTEM);
    Protect(dir / "S\\s.bak", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
    Protect(dir / "H", FILE_ATTRIBUTE_HIDDEN);
    Protect(dir / "S", FILE_ATTRIBUTE_SYSTEM);
    all = Survivors(t);
    ASSERT_EQ(all.size(), 18u);
  }
  TempDir dir;
  Names all;
};

TEST_F(ProtectedTree, KillFilesLeavesReadOnlyAndFolders) {
  // Hidden and system files do not stop a plain deletion; read-only does.
  EXPECT_EQ(dll().cKillFiles((dir / "*.*").c_str()), 3);
  EXPECT_EQ(Survivors(dir.path()), Without(all, {"plain.txt", "hid.txt", "sys.txt"}));
}

TEST_F(ProtectedTree, KillFilesAllTakesEveryFileAndNoFolder) {
  EXPECT_EQ(dll().cKillFilesAll((dir / "*.*").c_str()), 4);
  EXPECT_EQ(Survivors(dir.path()), Without(all, {"plain.txt", "ro.txt", "hid.txt", "sys.txt"}));
  // The folders the pattern matched keep their attributes, and so does the folder
  // itself (listed as ".").
  EXPECT_EQ(GetFileAttributesA((dir / "H").c_str()) & 0x02, 0x02u);
  EXPECT_EQ(GetFileAttributesA((dir / "S").c_str()) & 0x04, 0x04u);
}

TEST_F(ProtectedTree, KillDirsBelowOnly) {
  // A, A\B, A\.deep, H and S go with their protected files; .dotdir is not walked.
  EXPECT_EQ(dll().cKillDirs(dir.path().c_str(), 0), 5);
  EXPECT_EQ(Survivors(dir.path()),
            (Names{"plain.txt", "ro.txt", "hid.txt", "sys.txt", ".dotdir", ".dotdir\\inner.txt"}));
}

TEST_F(ProtectedTree, KillDirsWithSelfKeepsAFolderThatStillHoldsFiles) {
  Protect(dir.path(), FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(dll().cKillDirs(dir.path().c_str(), -1), 5);
  EXPECT_EQ(Survivors(dir.path()),
            (Names{"plain.txt", "ro.txt", "hid.txt", "sys.txt", ".dotdir", ".dotdir\\inner.txt"}));
  // The folder could not go, and it keeps its attributes.
  EXPECT_EQ(GetFileAttributesA(dir.path().c_str()) & 0x12, 0x12u);
}

TEST_F(ProtectedTree, KillDirFilesAllDeletesFilesBelowAndRemovesNothing) {
  EXPECT_EQ(dll().cKillDirFilesAll(dir.path().c_str(), "*.*"), 7);
  EXPECT_EQ(Survivors(dir.path()), Without(all, {"A\\a.txt", "A\\ro.txt", "A\\B\\hid.txt", "A\\B\\sys.bak",
                                                 "A\\.deep\\x.bak", "H\\h.txt", "S\\s.bak"}));
  EXPECT_EQ(GetFileAttributesA((dir / "H").c_str()) & 0x02, 0x02u);
}

TEST_F(ProtectedTree, KillDirFilesAllByPattern) {
  EXPECT_EQ(dll().cKillDirFilesAll(dir.path().c_str(), "*.bak"), 3);
  EXPECT_EQ(Survivors(dir.path()), Without(all, {"A\\B\\sys.bak", "A\\.deep\\x.bak", "S\\s.bak"}));
}

TEST(KillFile, ReadOnlyRefusedByPlainFormTakenByAllForm) {
  TempDir dir;
  std::string f = dir / "ro.txt";
  WriteBytes(f, "x");
  Protect(f, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(dll().cKillFile(f.c_str()), 13);
  EXPECT_TRUE(Exists(f));
  EXPECT_EQ(dll().cKillFileAll(f.c_str()), -1);
  EXPECT_FALSE(Exists(f));
  // Nothing to delete counts as deleted.
  EXPECT_EQ(dll().cKillFile(f.c_str()), -1);
  EXPECT_EQ(dll().cKillFileAll(f.c_str()), -1);
  // A folder is no file: both refuse it and it stays.
  MakeDir(dir / "D");
  EXPECT_EQ(dll().cKillFile((dir / "D").c_str()), 13);
  EXPECT_TRUE(Exists(dir / "D"));
  // A file spelled another way than its folder lists it (other case, through "..",
  // relative to the current folder) is still the folder's own entry, not a link.
  for (const char* f : {"a.txt", "b.txt", "c.txt"}) WriteBytes(dir / f, "x");
  CurrentDirScope in(dir.path());
  EXPECT_EQ(dll().cKillFile((dir / "A.TXT").c_str()), -1);
  EXPECT_EQ(dll().cKillFileAll((dir / "D\\..\\b.txt").c_str()), -1);
  EXPECT_EQ(dll().cKillFile("c.txt"), -1);
  EXPECT_EQ(Survivors(dir.path()), Names{"D"});
}

TEST(KillFiles, PlainVersusAllAndFolderEntries) {
  for (bool all : {false, true}) {
    TempDir dir;
    for (const char* f : {"a.txt", "b.txt", "c.dat", "r.txt"}) WriteBytes(dir / f, "x");
    Protect(dir / "r.txt", FILE_ATTRIBUTE_READONLY);
    MakeDir(dir / "folder.txt");  // matched by *.txt, never deleted or counted
    std::string pattern = dir / "*.*";
    EXPECT_EQ(all ? dll().cKillFilesAll(pattern.c_str()) : dll().cKillFiles(pattern.c_str()), all ? 4 : 3);
    EXPECT_EQ(Survivors(dir.path()), all ? Names{"folder.txt"} : (Names{"folder.txt", "r.txt"}));
    EXPECT_EQ(dll().cKillFiles((dir / "*.none").c_str()), 0);
    EXPECT_EQ(dll().cKillFilesAll((dir / "nowhere\\*.*").c_str()), 0);
  }
}

TEST(KillFiles, RelativePatternJoinsTheDriveAndFolderPart) {
  TempDir dir;
  MakeDir(dir / "sub");
  WriteBytes(dir / "sub\\one.log", "x");
  WriteBytes(dir / "sub\\two.txt", "x");
  CurrentDirScope in(dir.path());
  EXPECT_EQ(dll().cKillFiles("sub\\*.log"), 1);
  EXPECT_EQ(Survivors(dir.path()), (Names{"sub", "sub\\two.txt"}));
  // The folder in another case and the bare current folder reach the same entries.
  EXPECT_EQ(dll().cKillFilesAll("SUB\\*.TXT"), 1);
  WriteBytes(dir / "top.txt", "x");
  EXPECT_EQ(dll().cKillFiles("*.txt"), 1);
  EXPECT_EQ(Survivors(dir.path()), Names{"sub"});
}

TEST(KillDir, OneEmptyFolder) {
  TempDir dir;
  MakeDir(dir / "full");
  WriteBytes(dir / "full\\f", "x");
  MakeDir(dir / "empty");
  EXPECT_EQ(dll().cKillDir((dir / "full").c_str()), 41);
  EXPECT_EQ(dll().cKillDir((dir / "empty").c_str()), -1);
  EXPECT_FALSE(Exists(dir / "empty"));
  EXPECT_EQ(dll().cKillDir((dir / "empty").c_str()), 2);
}

// C:\T holding A\B (with files) and a file X.
void BuildAB(const TempDir& dir, bool with_x) {
  MakeDir(dir / "T");
  MakeDir(dir / "T\\A");
  MakeDir(dir / "T\\A\\B");
  WriteBytes(dir / "T\\A\\f1", "x");
  WriteBytes(dir / "T\\A\\B\\f2", "x");
  if (with_x) WriteBytes(dir / "T\\X", "x");
}

TEST(KillDirs, BothModesWithAndWithoutAFileOnTop) {
  {
    TempDir dir;
    BuildAB(dir, true);
    EXPECT_EQ(dll().cKillDirs((dir / "T").c_str(), 0), 2);
    EXPECT_EQ(Survivors(dir.path()), (Names{"T", "T\\X"}));
  }
  {
    TempDir dir;
    BuildAB(dir, true);
    EXPECT_EQ(dll().cKillDirs((dir / "T").c_str(), 1), 2);
    EXPECT_EQ(Survivors(dir.path()), (Names{"T", "T\\X"}));
  }
  {
    TempDir dir;
    BuildAB(dir, false);
    EXPECT_EQ(dll().cKillDirs((dir / "T").c_str(), 1), 3);
    EXPECT_EQ(Survivors(dir.path()), Names{});
  }
  {
    // A trailing backslash is the same folder.
    TempDir dir;
    BuildAB(dir, false);
    EXPECT_EQ(dll().cKillDirs((dir / "T\\").c_str(), 1), 3);
    EXPECT_EQ(Survivors(dir.path()), Names{});
  }
}

TEST(KillDirs, MissingOrEmptyFolderDeletesNothing) {
  TempDir dir;
  EXPECT_EQ(dll().cKillDirs((dir / "none").c_str(), 0), 0);
  EXPECT_EQ(dll().cKillDirFilesAll((dir / "none").c_str(), "*.*"), 0);
  // A blank folder argument never means "the root of the current drive".
  MakeDir(dir / "A");
  WriteBytes(dir / "A\\f", "x");
  CurrentDirScope in(dir.path());
  EXPECT_EQ(dll().cKillDirs("", 0), 0);
  EXPECT_EQ(dll().cKillDirFilesAll("", "*.*"), 0);
  // Nor does a lone backslash, and a share's root is refused whole before anything is
  // listed (the drive roots, "X:" among them, are checked on a mapped drive by
  // walk_links_check).
  for (const char* root : {"\\", "\\\\server\\share", "\\\\server\\share\\"}) {
    EXPECT_EQ(dll().cKillDirs(root, 1), RC_ROOT_REFUSED) << root;
    EXPECT_EQ(dll().cKillDirFilesAll(root, "*"), RC_ROOT_REFUSED) << root;
  }
  EXPECT_EQ(Survivors(dir.path()), (Names{"A", "A\\f"}));
}

TEST(KillDirs, FolderBeyondASlotIsLeftWithEverythingBelowIt) {
  TempDir dir;
  // One folder whose path takes exactly the 127 characters of a slot, one that would
  // take 128, and a folder below the long one.
  size_t base = dir.path().size() + 1;
  ASSERT_LT(base, 100u);
  std::string fits(127 - base, 'f'), over(128 - base, 'o');
  MakeDir(dir / fits);
  MakeDir(dir / over);
  MakeDir(dir / (over + "\\in"));
  WriteBytes(dir / (over + "\\in\\keep"), "x");
  EXPECT_EQ(dll().cKillDirs(dir.path().c_str(), 0), 1);
  EXPECT_EQ(Survivors(dir.path()), (Names{over, over + "\\in", over + "\\in\\keep"}));
}

// A file that another handle holds without sharing its deletion is the one file that
// stays, with its bytes; the files beside it go, the read-only one included, and its
// folder goes once the handle lets go.
TEST(KillDirs, FileHeldWithoutSharingStaysAndTheRestGo) {
  TempDir dir;
  MakeDir(dir / "T");
  MakeDir(dir / "T\\A");
  std::string held = dir / "T\\A\\held";
  WriteBytes(held, "kept");
  WriteBytes(dir / "T\\A\\plain", "x");
  WriteBytes(dir / "T\\A\\ro", "x");
  Protect(dir / "T\\A\\ro", FILE_ATTRIBUTE_READONLY);
  HANDLE h = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(dll().cKillDirFilesAll((dir / "T").c_str(), "*.*"), 2);  // names without a dot too
  EXPECT_EQ(dll().cKillDirs((dir / "T").c_str(), 0), 0);
  CloseHandle(h);
  EXPECT_EQ(Survivors(dir.path()), (Names{"T", "T\\A", "T\\A\\held"}));
  EXPECT_EQ(ReadBytes(held).value_or(""), "kept");
  EXPECT_EQ(dll().cKillDirs((dir / "T").c_str(), 0), 1);
  EXPECT_EQ(Survivors(dir.path()), Names{"T"});
}

}  // namespace
}  // namespace vnk::test
