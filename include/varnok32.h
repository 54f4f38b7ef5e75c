/* varnok32.h: VARNOK-32.DLL (32-bit Windows) and VARNOK-64.DLL (x64) for C and C++
   programs. Link with libvarnok32.a or libvarnok64.a (MinGW) and put the DLL of the
   program's architecture beside it. Every function uses the standard call
   convention (on x64, the one convention there is) and is exported undecorated.
   Results declared short are VB Integers: True is -1, False is 0, and only the
   low 16 bits are set. A BSTR result holds ANSI bytes (its length is
   SysStringByteLen) and belongs to the caller, who frees it with SysFreeString;
   it is never NULL. reference.md describes every function.
   Written from the library's export table by gen_declarations: do not edit. */
#ifndef VARNOK32_H
#define VARNOK32_H

#include <stddef.h>
#include <windows.h>
#include <oleauto.h>

#ifndef VARNOK32_API
#define VARNOK32_API __stdcall
#endif

#if defined(__cplusplus) && __cplusplus >= 201103L
#define VARNOK32_ASSERT(cond, id) static_assert(cond, #id)
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define VARNOK32_ASSERT(cond, id) _Static_assert(cond, #id)
#else
#define VARNOK32_ASSERT(cond, id) typedef char varnok32_##id[(cond) ? 1 : -1]
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The records a VB program passes by reference, with VB's layout: Integers take two
   bytes; String slots (BSTR) take four, packed in declaration order, on 32 bits, and
   eight, each aligned to eight, on x64 (64-bit VBA aligns every field to its size).
   FileAttrib flags are -1 or 0; PathParts fields are replaced by cSplitPath (the old
   BSTR freed). */
#ifdef _WIN64
#pragma pack(push, 8)
#else
#pragma pack(push, 2)
#endif
typedef struct FileAttrib {
  short Status;
  short Archive;
  short Hidden;
  short Normal;
  short ReadOnly;
  short SubDir;
  short System;
  short Compressed;
} FileAttrib;
typedef struct PathParts {
  BSTR Drive;
  BSTR Directory;
  BSTR FileName;
  BSTR Extension;
} PathParts;
#pragma pack(pop)
#ifdef _WIN64
VARNOK32_ASSERT(offsetof(FileAttrib, Status) == 0, FileAttrib_Status_offset);
VARNOK32_ASSERT(offsetof(FileAttrib, Archive) == 2, FileAttrib_Archive_offset);
VARNOK32_ASSERT(offsetof(FileAttrib, Hidden) == 4, FileAttrib_Hidden_offset);
VARNOK32_ASSERT(offsetof(FileAttrib, Normal) == 6, FileAttrib_Normal_offset);
VARNOK32_ASSERT(offsetof(FileAttrib, ReadOnly) == 8, FileAttrib_ReadOnly_offset);
VARNOK32_ASSERT(offsetof(FileAttrib, SubDir) == 10, FileAttrib_SubDir_offset);
VARNOK32_ASSERT(offsetof(FileAttrib, System) == 12, FileAttrib_System_offset);
VARNOK32_ASSERT(offsetof(FileAttrib, Compressed) == 14, FileAttrib_Compressed_offset);
VARNOK32_ASSERT(sizeof(FileAttrib) == 16, FileAttrib_size);
VARNOK32_ASSERT(offsetof(PathParts, Drive) == 0, PathParts_Drive_offset);
VARNOK32_ASSERT(offsetof(PathParts, Directory) == 8, PathParts_Directory_offset);
VARNOK32_ASSERT(offsetof(PathParts, FileName) == 16, PathParts_FileName_offset);
VARNOK32_ASSERT(offsetof(PathParts, Extension) == 24, PathParts_Extension_offset);
VARNOK32_ASSERT(sizeof(PathParts) == 32, PathParts_size);
#else
VARNOK32_ASSERT(offsetof(FileAttrib, Status) == 0, FileAttrib_Status_offset);
VARNOK32_ASSERT(offsetof(FileAttrib, Archive) == 2, FileAttrib_Archive_offset);
VARNOK32_ASSERT(offsetof(FileAttrib, Hidden) == 4, FileAttrib_Hidden_offset);
VARNOK32_ASSERT(offsetof(FileAttrib, Normal) == 6, FileAttrib_Normal_offset);
VARNOK32_ASSERT(offsetof(FileAttrib, ReadOnly) == 8, FileAttrib_ReadOnly_offset);
VARNOK32_ASSERT(offsetof(FileAttrib, SubDir) == 10, FileAttrib_SubDir_offset);
VARNOK32_ASSERT(offsetof(FileAttrib, System) == 12, FileAttrib_System_offset);
VARNOK32_ASSERT(offsetof(FileAttrib, Compressed) == 14, FileAttrib_Compressed_offset);
VARNOK32_ASSERT(sizeof(FileAttrib) == 16, FileAttrib_size);
VARNOK32_ASSERT(offsetof(PathParts, Drive) == 0, PathParts_Drive_offset);
VARNOK32_ASSERT(offsetof(PathParts, Directory) == 4, PathParts_Directory_offset);
VARNOK32_ASSERT(offsetof(PathParts, FileName) == 8, PathParts_FileName_offset);
VARNOK32_ASSERT(offsetof(PathParts, Extension) == 12, PathParts_Extension_offset);
VARNOK32_ASSERT(sizeof(PathParts) == 16, PathParts_size);
#endif

/* Negative results of the functions that process file contents. */
#define RC_NO_MEMORY (-32760)
#define RC_NO_MEMORY_SECOND (-32761)
#define RC_CANT_OPEN_FIRST (-32750)
#define RC_CANT_OPEN_SECOND (-32751)
#define RC_CANT_OPEN_THIRD (-32752)
#define RC_READ_FAILED (-32730)
#define RC_READ_FAILED_SECOND (-32731)
#define RC_WRITE_FAILED (-32740)
#define RC_WRITE_SHORT (-32720)
#define RC_WRITE_SHORT_SECOND (-32721)
#define RC_ROOT_REFUSED (-32710)

/* Attribute bits, for cFileSetFlag, cFileResetFlag and cIsFileFlag. */
#define ATTR_READONLY 0x1
#define ATTR_HIDDEN 0x2
#define ATTR_SYSTEM 0x4
#define ATTR_DIRECTORY 0x10
#define ATTR_ARCHIVE 0x20
#define ATTR_NORMAL 0x80
#define ATTR_TEMPORARY 0x100
#define ATTR_COMPRESSED 0x800

BSTR VARNOK32_API cAllSubDirectories(const char* Folder, long* Count);
long VARNOK32_API cArrayOnDisk(const char* FileName, SAFEARRAY** Values, short Direction);
long VARNOK32_API cArrayStringOnDisk(const char* FileName, SAFEARRAY** Items, short Direction, long* ElementCount);
short VARNOK32_API cChDir(const char* Folder);
short VARNOK32_API cChDrive(const char* Drive);
short VARNOK32_API cCmpFileAttribute(const char* File1, const char* File2);
short VARNOK32_API cCmpFileContents(const char* File1, const char* File2, short Mode);
short VARNOK32_API cCmpFileSize(const char* File1, const char* File2);
short VARNOK32_API cCmpFileTime(const char* File1, const char* File2);
short VARNOK32_API cCountDirectories(const char* Pattern);
short VARNOK32_API cCountFiles(const char* Pattern);
long VARNOK32_API cFileChangeChars(const char* FileName, BSTR* FromChars, BSTR* ToChars, const char* WorkFile);
long VARNOK32_API cFileCompressTab(const char* Source, const char* Target, long TabSize);
long VARNOK32_API cFileCopy(const char* Source, const char* Target);
long VARNOK32_API cFileCopy2(const char* Source, const char* Target);
BSTR VARNOK32_API cFileDateCreated(const char* FileName);
BSTR VARNOK32_API cFileDrive(const char* FileName);
long VARNOK32_API cFileExpandTab(const char* Source, const char* Target, long TabSize);
long VARNOK32_API cFileFilter(const char* Source, const char* Target, BSTR* Chars);
long VARNOK32_API cFileFilterNot(const char* Source, const char* Target, BSTR* Chars);
short VARNOK32_API cFileGetAttrib(const char* FileName, FileAttrib* Attr);
BSTR VARNOK32_API cFileLastDateAccess(const char* FileName);
BSTR VARNOK32_API cFileLastDateModified(const char* FileName);
BSTR VARNOK32_API cFileLastTimeAccess(const char* FileName);
BSTR VARNOK32_API cFileLastTimeModified(const char* FileName);
long VARNOK32_API cFileLineCount(const char* FileName);
long VARNOK32_API cFileMerge(const char* FirstFile, const char* SecondFile, const char* Target);
long VARNOK32_API cFileMove(const char* Source, const char* Target);
short VARNOK32_API cFilePathExists(const char* Path);
short VARNOK32_API cFileResetAllAttrib(const char* FileName);
short VARNOK32_API cFileResetArchive(const char* FileName);
short VARNOK32_API cFileResetFlag(const char* FileName, short Flag);
short VARNOK32_API cFileResetHidden(const char* FileName);
short VARNOK32_API cFileResetReadOnly(const char* FileName);
short VARNOK32_API cFileResetSystem(const char* FileName);
long VARNOK32_API cFileSearch(const char* FileName, const char* SearchText, short CaseSensitive);
long VARNOK32_API cFileSearchAndReplace(const char* FileName, const char* SearchText, const char* ReplaceText, const char* WorkFile, short CaseSensitive);
long VARNOK32_API cFileSearchCount(const char* FileName, const char* SearchText, short CaseSensitive);
short VARNOK32_API cFileSetAllAttrib(const char* FileName);
short VARNOK32_API cFileSetArchive(const char* FileName);
short VARNOK32_API cFileSetAttrib(const char* FileName, FileAttrib* Attr);
short VARNOK32_API cFileSetFlag(const char* FileName, short Flag);
short VARNOK32_API cFileSetHidden(const char* FileName);
short VARNOK32_API cFileSetReadOnly(const char* FileName);
short VARNOK32_API cFileSetSystem(const char* FileName);
long VARNOK32_API cFileSize(const char* FileName);
long VARNOK32_API cFileSort(const char* Source, const char* Target, short SortType, long RecordLength, long KeyOffset, long KeyLength, long* Count);
long VARNOK32_API cFileStatistics(const char* FileName, long* Lines, long* Words, long* Characters);
BSTR VARNOK32_API cFileTimeCreated(const char* FileName);
long VARNOK32_API cFileToLower(const char* Source, const char* Target);
long VARNOK32_API cFileToUpper(const char* Source, const char* Target);
long VARNOK32_API cFileUUCP(const char* Source, const char* Target, short Direction);
short VARNOK32_API cFilesInDirOnDisk(const char* ListFile, const char* Pattern, short AttribFilter);
short VARNOK32_API cFilesInDirToArray(const char* Pattern, short AttribFilter, SAFEARRAY** Names);
BSTR VARNOK32_API cFilesInDirectory(const char* Pattern, short FirstCall);
double VARNOK32_API cFilesSize(const char* Pattern);
double VARNOK32_API cFilesSizeOnDisk(const char* Pattern);
long VARNOK32_API cFilesSlack(const char* Pattern, double* Size, double* SizeOnDisk);
BSTR VARNOK32_API cFullPath(const char* Path);
double VARNOK32_API cGetDiskClusterSize(const char* Drive);
double VARNOK32_API cGetDiskFree(const char* Drive);
double VARNOK32_API cGetDiskSpace(const char* Drive);
double VARNOK32_API cGetDiskUsed(const char* Drive);
long VARNOK32_API cGetDriveType(const char* Drive);
short VARNOK32_API cIsFileArchive(const char* FileName);
short VARNOK32_API cIsFileCompressed(const char* FileName);
short VARNOK32_API cIsFileEmpty(const char* FileName);
short VARNOK32_API cIsFileFlag(const char* FileName, short Flag);
short VARNOK32_API cIsFileHidden(const char* FileName);
short VARNOK32_API cIsFileNormal(const char* FileName);
short VARNOK32_API cIsFileReadOnly(const char* FileName);
short VARNOK32_API cIsFileSubDir(const char* FileName);
short VARNOK32_API cIsFileSystem(const char* FileName);
short VARNOK32_API cIsFilenameValid(const char* FileName);
short VARNOK32_API cKillDir(const char* Folder);
short VARNOK32_API cKillDirFilesAll(const char* Folder, const char* Pattern);
short VARNOK32_API cKillDirs(const char* Folder, short RemoveFolder);
short VARNOK32_API cKillFile(const char* FileName);
short VARNOK32_API cKillFileAll(const char* FileName);
short VARNOK32_API cKillFiles(const char* Pattern);
short VARNOK32_API cKillFilesAll(const char* Pattern);
short VARNOK32_API cMakeDir(const char* Folder);
short VARNOK32_API cMakeMultipleDir(const char* Folder);
BSTR VARNOK32_API cMakePath(const char* Drive, const char* Directory, const char* FileName, const char* Extension);
short VARNOK32_API cRcsCountFileDir(short Which, const char* Folder, const char* FilePattern, short Recurse);
double VARNOK32_API cRcsFilesSize(const char* Folder, const char* FilePattern, short Recurse);
double VARNOK32_API cRcsFilesSizeOnDisk(const char* Folder, const char* FilePattern, short Recurse);
long VARNOK32_API cRcsFilesSlack(const char* Folder, const char* FilePattern, short Recurse, double* Size, double* SizeOnDisk);
short VARNOK32_API cRenameFile(const char* OldName, const char* NewName);
long VARNOK32_API cSearchFile(const char* StartFolder, const char* Pattern, const char* ResultFile);
short VARNOK32_API cSplitPath(const char* Path, PathParts* Parts);
BSTR VARNOK32_API cSubDirectory(const char* Pattern, short FirstCall);
BSTR VARNOK32_API cTruncatePath(const char* Path, long MaxLength);
BSTR VARNOK32_API cUniqueFileName(BSTR* Prefix);

/* The Unicode twins: for every function cName, cNameW with the same arguments and
   result, but with its text in UTF-16. A string argument is a NUL-terminated
   const wchar_t* (NULL reads as ""); ByRef strings, string arrays, the PathParts
   fields and a BSTR result hold UTF-16 BSTRs (SysStringLen counts characters).
   Names and paths may use any character and be up to 32,767 UTF-16 units long.
   The text that a function looks for or writes into a file's contents (search and
   replacement texts, character lists, the lines of a string array file) is turned
   into the ANSI code page, so a twin reads and writes a file's bytes as cName does. */
BSTR VARNOK32_API cAllSubDirectoriesW(const wchar_t* Folder, long* Count);
long VARNOK32_API cArrayOnDiskW(const wchar_t* FileName, SAFEARRAY** Values, short Direction);
long VARNOK32_API cArrayStringOnDiskW(const wchar_t* FileName, SAFEARRAY** Items, short Direction, long* ElementCount);
short VARNOK32_API cChDirW(const wchar_t* Folder);
short VARNOK32_API cChDriveW(const wchar_t* Drive);
short VARNOK32_API cCmpFileAttributeW(const wchar_t* File1, const wchar_t* File2);
short VARNOK32_API cCmpFileContentsW(const wchar_t* File1, const wchar_t* File2, short Mode);
short VARNOK32_API cCmpFileSizeW(const wchar_t* File1, const wchar_t* File2);
short VARNOK32_API cCmpFileTimeW(const wchar_t* File1, const wchar_t* File2);
short VARNOK32_API cCountDirectoriesW(const wchar_t* Pattern);
short VARNOK32_API cCountFilesW(const wchar_t* Pattern);
long VARNOK32_API cFileChangeCharsW(const wchar_t* FileName, BSTR* FromChars, BSTR* ToChars, const wchar_t* WorkFile);
long VARNOK32_API cFileCompressTabW(const wchar_t* Source, const wchar_t* Target, long TabSize);
long VARNOK32_API cFileCopyW(const wchar_t* Source, const wchar_t* Target);
long VARNOK32_API cFileCopy2W(const wchar_t* Source, const wchar_t* Target);
BSTR VARNOK32_API cFileDateCreatedW(const wchar_t* FileName);
BSTR VARNOK32_API cFileDriveW(const wchar_t* FileName);
long VARNOK32_API cFileExpandTabW(const wchar_t* Source, const wchar_t* Target, long TabSize);
long VARNOK32_API cFileFilterW(const wchar_t* Source, const wchar_t* Target, BSTR* Chars);
long VARNOK32_API cFileFilterNotW(const wchar_t* Source, const wchar_t* Target, BSTR* Chars);
short VARNOK32_API cFileGetAttribW(const wchar_t* FileName, FileAttrib* Attr);
BSTR VARNOK32_API cFileLastDateAccessW(const wchar_t* FileName);
BSTR VARNOK32_API cFileLastDateModifiedW(const wchar_t* FileName);
BSTR VARNOK32_API cFileLastTimeAccessW(const wchar_t* FileName);
BSTR VARNOK32_API cFileLastTimeModifiedW(const wchar_t* FileName);
long VARNOK32_API cFileLineCountW(const wchar_t* FileName);
long VARNOK32_API cFileMergeW(const wchar_t* FirstFile, const wchar_t* SecondFile, const wchar_t* Target);
long VARNOK32_API cFileMoveW(const wchar_t* Source, const wchar_t* Target);
short VARNOK32_API cFilePathExistsW(const wchar_t* Path);
short VARNOK32_API cFileResetAllAttribW(const wchar_t* FileName);
short VARNOK32_API cFileResetArchiveW(const wchar_t* FileName);
short VARNOK32_API cFileResetFlagW(const wchar_t* FileName, short Flag);
short VARNOK32_API cFileResetHiddenW(const wchar_t* FileName);
short VARNOK32_API cFileResetReadOnlyW(const wchar_t* FileName);
short VARNOK32_API cFileResetSystemW(const wchar_t* FileName);
long VARNOK32_API cFileSearchW(const wchar_t* FileName, const wchar_t* SearchText, short CaseSensitive);
long VARNOK32_API cFileSearchAndReplaceW(const wchar_t* FileName, const wchar_t* SearchText, const wchar_t* ReplaceText, const wchar_t* WorkFile, short CaseSensitive);
long VARNOK32_API cFileSearchCountW(const wchar_t* FileName, const wchar_t* SearchText, short CaseSensitive);
short VARNOK32_API cFileSetAllAttribW(const wchar_t* FileName);
short VARNOK32_API cFileSetArchiveW(const wchar_t* FileName);
short VARNOK32_API cFileSetAttribW(const wchar_t* FileName, FileAttrib* Attr);
short VARNOK32_API cFileSetFlagW(const wchar_t* FileName, short Flag);
short VARNOK32_API cFileSetHiddenW(const wchar_t* FileName);
short VARNOK32_API cFileSetReadOnlyW(const wchar_t* FileName);
short VARNOK32_API cFileSetSystemW(const wchar_t* FileName);
long VARNOK32_API cFileSizeW(const wchar_t* FileName);
long VARNOK32_API cFileSortW(const wchar_t* Source, const wchar_t* Target, short SortType, long RecordLength, long KeyOffset, long KeyLength, long* Count);
long VARNOK32_API cFileStatisticsW(const wchar_t* FileName, long* Lines, long* Words, long* Characters);
BSTR VARNOK32_API cFileTimeCreatedW(const wchar_t* FileName);
long VARNOK32_API cFileToLowerW(const wchar_t* Source, const wchar_t* Target);
long VARNOK32_API cFileToUpperW(const wchar_t* Source, const wchar_t* Target);
long VARNOK32_API cFileUUCPW(const wchar_t* Source, const wchar_t* Target, short Direction);
short VARNOK32_API cFilesInDirOnDiskW(const wchar_t* ListFile, const wchar_t* Pattern, short AttribFilter);
short VARNOK32_API cFilesInDirToArrayW(const wchar_t* Pattern, short AttribFilter, SAFEARRAY** Names);
BSTR VARNOK32_API cFilesInDirectoryW(const wchar_t* Pattern, short FirstCall);
double VARNOK32_API cFilesSizeW(const wchar_t* Pattern);
double VARNOK32_API cFilesSizeOnDiskW(const wchar_t* Pattern);
long VARNOK32_API cFilesSlackW(const wchar_t* Pattern, double* Size, double* SizeOnDisk);
BSTR VARNOK32_API cFullPathW(const wchar_t* Path);
double VARNOK32_API cGetDiskClusterSizeW(const wchar_t* Drive);
double VARNOK32_API cGetDiskFreeW(const wchar_t* Drive);
double VARNOK32_API cGetDiskSpaceW(const wchar_t* Drive);
double VARNOK32_API cGetDiskUsedW(const wchar_t* Drive);
long VARNOK32_API cGetDriveTypeW(const wchar_t* Drive);
short VARNOK32_API cIsFileArchiveW(const wchar_t* FileName);
short VARNOK32_API cIsFileCompressedW(const wchar_t* FileName);
short VARNOK32_API cIsFileEmptyW(const wchar_t* FileName);
short VARNOK32_API cIsFileFlagW(const wchar_t* FileName, short Flag);
short VARNOK32_API cIsFileHiddenW(const wchar_t* FileName);
short VARNOK32_API cIsFileNormalW(const wchar_t* FileName);
short VARNOK32_API cIsFileReadOnlyW(const wchar_t* FileName);
short VARNOK32_API cIsFileSubDirW(const wchar_t* FileName);
short VARNOK32_API cIsFileSystemW(const wchar_t* FileName);
short VARNOK32_API cIsFilenameValidW(const wchar_t* FileName);
short VARNOK32_API cKillDirW(const wchar_t* Folder);
short VARNOK32_API cKillDirFilesAllW(const wchar_t* Folder, const wchar_t* Pattern);
short VARNOK32_API cKillDirsW(const wchar_t* Folder, short RemoveFolder);
short VARNOK32_API cKillFileW(const wchar_t* FileName);
short VARNOK32_API cKillFileAllW(const wchar_t* FileName);
short VARNOK32_API cKillFilesW(const wchar_t* Pattern);
short VARNOK32_API cKillFilesAllW(const wchar_t* Pattern);
short VARNOK32_API cMakeDirW(const wchar_t* Folder);
short VARNOK32_API cMakeMultipleDirW(const wchar_t* Folder);
BSTR VARNOK32_API cMakePathW(const wchar_t* Drive, const wchar_t* Directory, const wchar_t* FileName, const wchar_t* Extension);
short VARNOK32_API cRcsCountFileDirW(short Which, const wchar_t* Folder, const wchar_t* FilePattern, short Recurse);
double VARNOK32_API cRcsFilesSizeW(const wchar_t* Folder, const wchar_t* FilePattern, short Recurse);
double VARNOK32_API cRcsFilesSizeOnDiskW(const wchar_t* Folder, const wchar_t* FilePattern, short Recurse);
long VARNOK32_API cRcsFilesSlackW(const wchar_t* Folder, const wchar_t* FilePattern, short Recurse, double* Size, double* SizeOnDisk);
short VARNOK32_API cRenameFileW(const wchar_t* OldName, const wchar_t* NewName);
long VARNOK32_API cSearchFileW(const wchar_t* StartFolder, const wchar_t* Pattern, const wchar_t* ResultFile);
short VARNOK32_API cSplitPathW(const wchar_t* Path, PathParts* Parts);
BSTR VARNOK32_API cSubDirectoryW(const wchar_t* Pattern, short FirstCall);
BSTR VARNOK32_API cTruncatePathW(const wchar_t* Path, long MaxLength);
BSTR VARNOK32_API cUniqueFileNameW(BSTR* Prefix);

#ifdef __cplusplus
}
#endif

#endif /* VARNOK32_H */
