// The attribute exports: thin entry points over AttributeSet, AttributeClear and
// AttributeTest, the FileAttrib record pair, and the whole-word operations.
#include "files/attrib.h"
#include "frame/host.h"
#include "system/fs.h"

using namespace vnk;

namespace {

// A host Integer flag is sign-extended before use, so -1 is every bit of the word.
uint32_t FlagMask(int16_t flag) { return static_cast<uint32_t>(static_cast<int32_t>(flag)); }

int16_t Bit(DWORD word, uint32_t bit) { return VbBool((word & bit) != 0); }

// What a record's Status receives after a failure: the run-time error number of the
// Windows error just seen (2 for a missing path). Never -1, which means success.
int16_t FailureStatus() { return LastErrno(); }

}  // namespace

extern "C" int16_t __stdcall cFileGetAttrib(StrArg name, FileAttrib* attr) {
  if (AnyNull(attr)) return VB_FALSE;
  return Shield(VB_FALSE, [&] {
    DWORD word = sys::Attributes(name);
    if (word == INVALID_FILE_ATTRIBUTES) {
      // The flag fields keep whatever the caller had in them.
      attr->Status = FailureStatus();
      return VB_FALSE;
    }
    attr->Archive = Bit(word, ATTR_ARCHIVE);
    attr->Hidden = Bit(word, ATTR_HIDDEN);
    attr->Normal = Bit(word, ATTR_NORMAL);
    attr->ReadOnly = Bit(word, ATTR_READONLY);
    attr->SubDir = Bit(word, ATTR_DIRECTORY);
    attr->System = Bit(word, ATTR_SYSTEM);
    attr->Status = VB_TRUE;
    attr->Compressed = Bit(word, ATTR_COMPRESSED);
    return VB_TRUE;
  });
}

extern "C" int16_t __stdcall cFileSetAttrib(StrArg name, FileAttrib* attr) {
  if (AnyNull(attr)) return VB_FALSE;
  // The word is built from the record alone: every settable bit the record does not
  // name (temporary, say) is cleared. SubDir and Compressed cannot be set this way.
  DWORD word = 0;
  if (attr->Archive != 0) word |= ATTR_ARCHIVE;
  if (attr->Hidden != 0) word |= ATTR_HIDDEN;
  if (attr->Normal != 0) word |= ATTR_NORMAL;
  if (attr->ReadOnly != 0) word |= ATTR_READONLY;
  if (attr->System != 0) word |= ATTR_SYSTEM;
  return Shield(VB_FALSE, [&] {
    if (!sys::SetAttributes(name, word)) {
      attr->Status = FailureStatus();
      return VB_FALSE;
    }
    attr->Status = VB_TRUE;
    return VB_TRUE;
  });
}

extern "C" int16_t __stdcall cFileSetAllAttrib(StrArg name) {
  // The read only tells whether the path exists; the new word is fixed.
  return Shield(VB_FALSE, [&] {
    if (sys::Attributes(name) == INVALID_FILE_ATTRIBUTES) return VB_FALSE;
    return VbBool(sys::SetAttributes(name, ATTR_ALL_FOUR));
  });
}

extern "C" int16_t __stdcall cFileResetAllAttrib(StrArg name) {
  // Read-only, hidden, system and archive go; the other low 16 bits stay.
  return Shield(VB_FALSE, [&] {
    DWORD word = sys::Attributes(name);
    if (word == INVALID_FILE_ATTRIBUTES) return VB_FALSE;
    return VbBool(sys::SetAttributes(name, word & (ATTR_LOW_WORD & ~ATTR_ALL_FOUR)));
  });
}

extern "C" int16_t __stdcall cFileSetArchive(StrArg name) { return AttributeSet(name, ATTR_ARCHIVE); }
extern "C" int16_t __stdcall cFileSetHidden(StrArg name) { return AttributeSet(name, ATTR_HIDDEN); }
extern "C" int16_t __stdcall cFileSetReadOnly(StrArg name) { return AttributeSet(name, ATTR_READONLY); }
extern "C" int16_t __stdcall cFileSetSystem(StrArg name) { return AttributeSet(name, ATTR_SYSTEM); }
extern "C" int16_t __stdcall cFileSetFlag(StrArg name, int16_t flag) { return AttributeSet(name, FlagMask(flag)); }

extern "C" int16_t __stdcall cFileResetArchive(StrArg name) { return AttributeClear(name, ATTR_ARCHIVE); }
extern "C" int16_t __stdcall cFileResetHidden(StrArg name) { return AttributeClear(name, ATTR_HIDDEN); }
extern "C" int16_t __stdcall cFileResetReadOnly(StrArg name) { return AttributeClear(name, ATTR_READONLY); }
extern "C" int16_t __stdcall cFileResetSystem(StrArg name) { return AttributeClear(name, ATTR_SYSTEM); }
extern "C" int16_t __stdcall cFileResetFlag(StrArg name, int16_t flag) { return AttributeClear(name, FlagMask(flag)); }

extern "C" int16_t __stdcall cIsFileArchive(StrArg name) { return AttributeTest(name, ATTR_ARCHIVE); }
extern "C" int16_t __stdcall cIsFileCompressed(StrArg name) { return AttributeTest(name, ATTR_COMPRESSED); }
extern "C" int16_t __stdcall cIsFileHidden(StrArg name) { return AttributeTest(name, ATTR_HIDDEN); }
extern "C" int16_t __stdcall cIsFileNormal(StrArg name) { return AttributeTest(name, ATTR_NORMAL); }
extern "C" int16_t __stdcall cIsFileReadOnly(StrArg name) { return AttributeTest(name, ATTR_READONLY); }
extern "C" int16_t __stdcall cIsFileSubDir(StrArg name) { return AttributeTest(name, ATTR_DIRECTORY); }
extern "C" int16_t __stdcall cIsFileSystem(StrArg name) { return AttributeTest(name, ATTR_SYSTEM); }
extern "C" int16_t __stdcall cIsFileFlag(StrArg name, int16_t flag) { return AttributeTest(name, FlagMask(flag)); }

extern "C" int16_t __stdcall cCmpFileAttribute(StrArg name1, StrArg name2) {
  // Both words are always read; the whole 32-bit words are compared.
  return Shield(CMP_CANT_EXAMINE, [&] {
    DWORD a = sys::Attributes(name1);
    DWORD b = sys::Attributes(name2);
    if (a == INVALID_FILE_ATTRIBUTES || b == INVALID_FILE_ATTRIBUTES) return CMP_CANT_EXAMINE;
    return VbBool(a == b);
  });
}
