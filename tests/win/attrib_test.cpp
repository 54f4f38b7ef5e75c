// The attribute exports: the record pair, the single-bit and mask families, and the
// whole-word comparison, on files and folders, present and missing.
#include "tests/win/harness.h"

namespace vnk::test {
namespace {

DWORD Word(const std::string& path) { return GetFileAttributesA(path.c_str()); }

// A record whose every field holds a marker, to see which fields an export writes.
FileAttrib Marked() { return FileAttrib{7, 7, 7, 7, 7, 7, 7, 7}; }

class Attrib : public ::testing::Test {
 protected:
  void SetUp() override {
    file = dir / "plain.txt";
    WriteBytes(file, "x");
    folder = dir / "SUB";
    MakeDir(folder);
    missing = dir / "missing.txt";
  }
  TempDir dir;
  std::string file, folder, missing;
};

TEST_F(Attrib, GetAttribOnFolderAndFile) {
  FileAttrib a = Marked();
  EXPECT_EQ(dll().cFileGetAttrib(folder.c_str(), &a), -1);
  EXPECT_EQ(a.Status, -1);
  EXPECT_EQ(a.SubDir, -1);
  EXPECT_EQ(a.ReadOnly, 0);
  EXPECT_EQ(a.Hidden, 0);
  EXPECT_EQ(a.System, 0);
  EXPECT_EQ(a.Compressed, 0);

  // Wine reports archive for every file; the other flags are exactly 0 and Normal
  // follows the word (never 7: every field is written as -1 or 0).
  ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM));
  a = Marked();
  EXPECT_EQ(dll().cFileGetAttrib(file.c_str(), &a), -1);
  DWORD w = Word(file);
  EXPECT_EQ(a.Status, -1);
  EXPECT_EQ(a.ReadOnly, -1);
  EXPECT_EQ(a.System, -1);
  EXPECT_EQ(a.Hidden, 0);
  EXPECT_EQ(a.SubDir, 0);
  EXPECT_EQ(a.Archive, (w & FILE_ATTRIBUTE_ARCHIVE) ? -1 : 0);
  EXPECT_EQ(a.Normal, (w & FILE_ATTRIBUTE_NORMAL) ? -1 : 0);
  EXPECT_EQ(a.Compressed, 0);
}

TEST_F(Attrib, GetAttribOnMissingPathSetsOnlyStatus) {
  FileAttrib a = Marked();
  EXPECT_EQ(dll().cFileGetAttrib(missing.c_str(), &a), 0);
  EXPECT_EQ(a.Status, 2);  // the run-time number of "file not found"
  EXPECT_EQ(a.Archive, 7);
  EXPECT_EQ(a.Hidden, 7);
  EXPECT_EQ(a.Compressed, 7);
}

TEST_F(Attrib, SetAttribReplacesTheWord) {
  FileAttrib a{};
  a.ReadOnly = 1;  // any non-zero value counts
  a.Hidden = -1;
  a.SubDir = -1;   // cannot make a file a folder, and is no failure
  EXPECT_EQ(dll().cFileSetAttrib(file.c_str(), &a), -1);
  EXPECT_EQ(a.Status, -1);
  EXPECT_EQ(Word(file) & 0x17, 0x03u);

  FileAttrib zero{};
  ASSERT_TRUE(SetFileAttributesA(file.c_str(), 0x27));
  EXPECT_EQ(dll().cFileSetAttrib(file.c_str(), &zero), -1);
  EXPECT_EQ(zero.Status, -1);
  EXPECT_EQ(Word(file) & 0x07, 0u);

  FileAttrib m{};
  m.Status = -1;
  EXPECT_EQ(dll().cFileSetAttrib(missing.c_str(), &m), 0);
  EXPECT_EQ(m.Status, 2);
}

TEST_F(Attrib, SetAllAndResetAll) {
  EXPECT_EQ(dll().cFileSetAllAttrib(file.c_str()), -1);
  EXPECT_EQ(Word(file) & 0x27, 0x27u);
  EXPECT_EQ(dll().cFileResetAllAttrib(file.c_str()), -1);
  EXPECT_EQ(Word(file) & 0x07, 0u);
  // A folder keeps its folder bit through the reset.
  ASSERT_TRUE(SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(dll().cFileResetAllAttrib(folder.c_str()), -1);
  EXPECT_EQ(Word(folder) & 0x17, 0x10u);
  EXPECT_EQ(dll().cFileSetAllAttrib(missing.c_str()), 0);
  EXPECT_EQ(dll().cFileResetAllAttrib(missing.c_str()), 0);
  EXPECT_FALSE(Exists(missing));
}

TEST_F(Attrib, SingleBitSettersAndClearers) {
  struct Bit {
    Export<decl::cFileSetHidden> set;
    Export<decl::cFileResetHidden> reset;
    Export<decl::cIsFileHidden> is;
    DWORD bit;
  };
  const Dll& d = dll();
  Bit bits[] = {{d.cFileSetHidden, d.cFileResetHidden, d.cIsFileHidden, 0x02},
                {d.cFileSetReadOnly, d.cFileResetReadOnly, d.cIsFileReadOnly, 0x01},
                {d.cFileSetSystem, d.cFileResetSystem, d.cIsFileSystem, 0x04}};
  for (const Bit& b : bits) {
    SCOPED_TRACE(b.bit);
    EXPECT_EQ(b.is(file.c_str()), 0);
    EXPECT_EQ(b.set(file.c_str()), -1);
    EXPECT_EQ(Word(file) & b.bit, b.bit);
    EXPECT_EQ(b.is(file.c_str()), -1);
    EXPECT_EQ(b.reset(file.c_str()), -1);
    EXPECT_EQ(Word(file) & b.bit, 0u);
    EXPECT_EQ(b.set(missing.c_str()), 0);
    EXPECT_EQ(b.reset(missing.c_str()), 0);
    EXPECT_EQ(b.is(missing.c_str()), 0);
  }
  // Archive: Wine reports it on every file whatever was set, so only the answers of
  // the calls are checked, not the bit's disappearance.
  EXPECT_EQ(d.cFileSetArchive(file.c_str()), -1);
  EXPECT_EQ(d.cIsFileArchive(file.c_str()), -1);
  EXPECT_EQ(d.cFileResetArchive(file.c_str()), -1);
  EXPECT_EQ(d.cFileSetArchive(missing.c_str()), 0);
  EXPECT_EQ(d.cFileResetArchive(missing.c_str()), 0);
}

TEST_F(Attrib, QuestionsOnFolderAndFile) {
  EXPECT_EQ(dll().cIsFileSubDir(folder.c_str()), -1);
  EXPECT_EQ(dll().cIsFileSubDir(file.c_str()), 0);
  EXPECT_EQ(dll().cIsFileCompressed(file.c_str()), 0);
  EXPECT_EQ(dll().cIsFileNormal(folder.c_str()), 0);
  EXPECT_EQ(dll().cIsFileNormal(file.c_str()), (Word(file) & 0x80) ? -1 : 0);
  EXPECT_EQ(dll().cIsFileArchive(missing.c_str()), 0);
  EXPECT_EQ(dll().cIsFileSubDir(missing.c_str()), 0);
}

TEST_F(Attrib, FlagFamily) {
  // A mask of 0: true for anything that exists.
  EXPECT_EQ(dll().cIsFileFlag(file.c_str(), 0), -1);
  EXPECT_EQ(dll().cIsFileFlag(folder.c_str(), 0), -1);
  EXPECT_EQ(dll().cIsFileFlag(missing.c_str(), 0), 0);

  // 0x21: archive and read-only both, not either.
  ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(dll().cIsFileFlag(file.c_str(), 0x21), 0);
  EXPECT_EQ(dll().cFileSetFlag(file.c_str(), 0x01), -1);
  EXPECT_EQ(dll().cIsFileFlag(file.c_str(), 0x21), -1);
  EXPECT_EQ(dll().cIsFileFlag(folder.c_str(), 0x21), 0);

  // Clearing read-only keeps hidden, system and archive.
  ASSERT_TRUE(SetFileAttributesA(file.c_str(), 0x27));
  EXPECT_EQ(dll().cFileResetFlag(file.c_str(), 1), -1);
  EXPECT_EQ(Word(file) & 0x27, 0x26u);

  // The flag is sign-extended: -1 asks for every bit, which no path has; cleared with
  // -1 the low 16 bits all go (a folder stays a folder: the platform keeps that bit).
  EXPECT_EQ(dll().cIsFileFlag(file.c_str(), -1), 0);
  EXPECT_EQ(dll().cFileResetFlag(file.c_str(), -1), -1);
  EXPECT_EQ(Word(file) & 0x07, 0u);
  EXPECT_EQ(dll().cFileSetFlag(missing.c_str(), 1), 0);
  EXPECT_EQ(dll().cFileResetFlag(missing.c_str(), 1), 0);
  EXPECT_FALSE(Exists(missing));
}

TEST_F(Attrib, CompareWholeWords) {
  std::string other = dir / "other.txt";
  WriteBytes(other, "y");
  EXPECT_EQ(dll().cCmpFileAttribute(file.c_str(), file.c_str()), -1);
  EXPECT_EQ(dll().cCmpFileAttribute(file.c_str(), other.c_str()), -1);
  ASSERT_TRUE(SetFileAttributesA(other.c_str(), FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(dll().cCmpFileAttribute(file.c_str(), other.c_str()), 0);
  EXPECT_EQ(dll().cCmpFileAttribute(file.c_str(), folder.c_str()), 0);
  EXPECT_EQ(dll().cCmpFileAttribute(file.c_str(), missing.c_str()), -2);
  EXPECT_EQ(dll().cCmpFileAttribute(missing.c_str(), file.c_str()), -2);
}

}  // namespace
}  // namespace vnk::test
