// The library's whole boundary in one list: every export with its result kind and each
// argument's kind and name, in order. The DLL's declarations (frame/boundary.h), the test
// bench's typed entry points, vnkcall.exe, the VB modules, the C header and the .def files
// are all written from this list, so a signature is written once. Kinds are the VB
// declarations' own:
//   Str        ByVal x As String       StrRef       x As String
//   Int        ByVal x As Integer      Long         ByVal x As Long
//   LongRef    x As Long               DoubleRef    x As Double
//   FileAttribRef  x As FileAttrib     PathPartsRef x As PathParts
//   StrArray   x() As String           AnyArray     x() As Any (fixed-size elements)
// Results: Int (Integer), Long, Double, String.
// Text, TextRef and TextArray are declared as Str, StrRef and StrArray are, but carry text
// of a file's contents (search and replacement texts, character lists, the lines of a
// string array file) rather than names: the Unicode twins hand them to the library in
// the ANSI code page, so that a twin reads and writes a file's bytes as its ANSI export
// does, while names and paths reach it as UTF-8.
// An argument is written (Kind, Name); VNK_EACH_ARGUMENT applies a macro to each. The
// names are the ones a VB program's declarations show; they avoid VB's keywords and
// built-in functions (Name, Input, Output, Dir, Len, Width...), so that the declarations
// paste cleanly.
// Plain C++ with no Windows header: the declarations generator builds natively from it.
#pragma once

namespace vnk {

enum class Kind { Str, StrRef, Int, Long, LongRef, DoubleRef, FileAttribRef, PathPartsRef, StrArray, AnyArray, Double, String, Text, TextRef, TextArray };

}  // namespace vnk

// VNK_EACH_ARGUMENT(M, (Str, Source), (Int, Mode)) is M(Str, Source), M(Int, Mode): the
// arguments of one row, each handed to M, separated by commas. Seven arguments at most,
// as many as the longest row has.
#define VNK_EACH_ARGUMENT(M, ...) __VA_OPT__(VNK_EACH_1(M, __VA_ARGS__))
#define VNK_EACH_1(M, a, ...) M a __VA_OPT__(, VNK_EACH_2(M, __VA_ARGS__))
#define VNK_EACH_2(M, a, ...) M a __VA_OPT__(, VNK_EACH_3(M, __VA_ARGS__))
#define VNK_EACH_3(M, a, ...) M a __VA_OPT__(, VNK_EACH_4(M, __VA_ARGS__))
#define VNK_EACH_4(M, a, ...) M a __VA_OPT__(, VNK_EACH_5(M, __VA_ARGS__))
#define VNK_EACH_5(M, a, ...) M a __VA_OPT__(, VNK_EACH_6(M, __VA_ARGS__))
#define VNK_EACH_6(M, a, ...) M a __VA_OPT__(, VNK_EACH_7(M, __VA_ARGS__))
#define VNK_EACH_7(M, a) M a

#define VNK_EXPORTS(X)                                                                                                                               \
  X(cAllSubDirectories, String, (Str, Folder), (LongRef, Count))                                                                                     \
  X(cArrayOnDisk, Long, (Str, FileName), (AnyArray, Values), (Int, Direction))                                                                       \
  X(cArrayStringOnDisk, Long, (Str, FileName), (TextArray, Items), (Int, Direction), (LongRef, ElementCount))                                         \
  X(cChDir, Int, (Str, Folder))                                                                                                                      \
  X(cChDrive, Int, (Str, Drive))                                                                                                                     \
  X(cCmpFileAttribute, Int, (Str, File1), (Str, File2))                                                                                              \
  X(cCmpFileContents, Int, (Str, File1), (Str, File2), (Int, Mode))                                                                                  \
  X(cCmpFileSize, Int, (Str, File1), (Str, File2))                                                                                                   \
  X(cCmpFileTime, Int, (Str, File1), (Str, File2))                                                                                                   \
  X(cCountDirectories, Int, (Str, Pattern))                                                                                                          \
  X(cCountFiles, Int, (Str, Pattern))                                                                                                                \
  X(cFileChangeChars, Long, (Str, FileName), (TextRef, FromChars), (TextRef, ToChars), (Str, WorkFile))                                                \
  X(cFileCompressTab, Long, (Str, Source), (Str, Target), (Long, TabSize))                                                                           \
  X(cFileCopy, Long, (Str, Source), (Str, Target))                                                                                                   \
  X(cFileCopy2, Long, (Str, Source), (Str, Target))                                                                                                  \
  X(cFileDateCreated, String, (Str, FileName))                                                                                                       \
  X(cFileDrive, String, (Str, FileName))                                                                                                             \
  X(cFileExpandTab, Long, (Str, Source), (Str, Target), (Long, TabSize))                                                                             \
  X(cFileFilter, Long, (Str, Source), (Str, Target), (TextRef, Chars))                                                                                \
  X(cFileFilterNot, Long, (Str, Source), (Str, Target), (TextRef, Chars))                                                                             \
  X(cFileGetAttrib, Int, (Str, FileName), (FileAttribRef, Attr))                                                                                     \
  X(cFileLastDateAccess, String, (Str, FileName))                                                                                                    \
  X(cFileLastDateModified, String, (Str, FileName))                                                                                                  \
  X(cFileLastTimeAccess, String, (Str, FileName))                                                                                                    \
  X(cFileLastTimeModified, String, (Str, FileName))                                                                                                  \
  X(cFileLineCount, Long, (Str, FileName))                                                                                                           \
  X(cFileMerge, Long, (Str, FirstFile), (Str, SecondFile), (Str, Target))                                                                            \
  X(cFileMove, Long, (Str, Source), (Str, Target))                                                                                                   \
  X(cFilePathExists, Int, (Str, Path))                                                                                                               \
  X(cFileResetAllAttrib, Int, (Str, FileName))                                                                                                       \
  X(cFileResetArchive, Int, (Str, FileName))                                                                                                         \
  X(cFileResetFlag, Int, (Str, FileName), (Int, Flag))                                                                                               \
  X(cFileResetHidden, Int, (Str, FileName))                                                                                                          \
  X(cFileResetReadOnly, Int, (Str, FileName))                                                                                                        \
  X(cFileResetSystem, Int, (Str, FileName))                                                                                                          \
  X(cFileSearch, Long, (Str, FileName), (Text, SearchText), (Int, CaseSensitive))                                                                     \
  X(cFileSearchAndReplace, Long, (Str, FileName), (Text, SearchText), (Text, ReplaceText), (Str, WorkFile), (Int, CaseSensitive))                      \
  X(cFileSearchCount, Long, (Str, FileName), (Text, SearchText), (Int, CaseSensitive))                                                                \
  X(cFileSetAllAttrib, Int, (Str, FileName))                                                                                                         \
  X(cFileSetArchive, Int, (Str, FileName))                                                                                                           \
  X(cFileSetAttrib, Int, (Str, FileName), (FileAttribRef, Attr))                                                                                     \
  X(cFileSetFlag, Int, (Str, FileName), (Int, Flag))                                                                                                 \
  X(cFileSetHidden, Int, (Str, FileName))                                                                                                            \
  X(cFileSetReadOnly, Int, (Str, FileName))                                                                                                          \
  X(cFileSetSystem, Int, (Str, FileName))                                                                                                            \
  X(cFileSize, Long, (Str, FileName))                                                                                                                \
  X(cFileSort, Long, (Str, Source), (Str, Target), (Int, SortType), (Long, RecordLength), (Long, KeyOffset), (Long, KeyLength), (LongRef, Count))    \
  X(cFileStatistics, Long, (Str, FileName), (LongRef, Lines), (LongRef, Words), (LongRef, Characters))                                               \
  X(cFileTimeCreated, String, (Str, FileName))                                                                                                       \
  X(cFileToLower, Long, (Str, Source), (Str, Target))                                                                                                \
  X(cFileToUpper, Long, (Str, Source), (Str, Target))                                                                                                \
  X(cFileUUCP, Long, (Str, Source), (Str, Target), (Int, Direction))                                                                                 \
  X(cFilesInDirOnDisk, Int, (Str, ListFile), (Str, Pattern), (Int, AttribFilter))                                                                    \
  X(cFilesInDirToArray, Int, (Str, Pattern), (Int, AttribFilter), (StrArray, Names))                                                                 \
  X(cFilesInDirectory, String, (Str, Pattern), (Int, FirstCall))                                                                                     \
  X(cFilesSize, Double, (Str, Pattern))                                                                                                              \
  X(cFilesSizeOnDisk, Double, (Str, Pattern))                                                                                                        \
  X(cFilesSlack, Long, (Str, Pattern), (DoubleRef, Size), (DoubleRef, SizeOnDisk))                                                                   \
  X(cFullPath, String, (Str, Path))                                                                                                                  \
  X(cGetDiskClusterSize, Double, (Str, Drive))                                                                                                       \
  X(cGetDiskFree, Double, (Str, Drive))                                                                                                              \
  X(cGetDiskSpace, Double, (Str, Drive))                                                                                                             \
  X(cGetDiskUsed, Double, (Str, Drive))                                                                                                              \
  X(cGetDriveType, Long, (Str, Drive))                                                                                                               \
  X(cIsFileArchive, Int, (Str, FileName))                                                                                                            \
  X(cIsFileCompressed, Int, (Str, FileName))                                                                                                         \
  X(cIsFileEmpty, Int, (Str, FileName))                                                                                                              \
  X(cIsFileFlag, Int, (Str, FileName), (Int, Flag))                                                                                                  \
  X(cIsFileHidden, Int, (Str, FileName))                                                                                                             \
  X(cIsFileNormal, Int, (Str, FileName))                                                                                                             \
  X(cIsFileReadOnly, Int, (Str, FileName))                                                                                                           \
  X(cIsFileSubDir, Int, (Str, FileName))                                                                                                             \
  X(cIsFileSystem, Int, (Str, FileName))                                                                                                             \
  X(cIsFilenameValid, Int, (Str, FileName))                                                                                                          \
  X(cKillDir, Int, (Str, Folder))                                                                                                                    \
  X(cKillDirFilesAll, Int, (Str, Folder), (Str, Pattern))                                                                                            \
  X(cKillDirs, Int, (Str, Folder), (Int, RemoveFolder))                                                                                              \
  X(cKillFile, Int, (Str, FileName))                                                                                                                 \
  X(cKillFileAll, Int, (Str, FileName))                                                                                                              \
  X(cKillFiles, Int, (Str, Pattern))                                                                                                                 \
  X(cKillFilesAll, Int, (Str, Pattern))                                                                                                              \
  X(cMakeDir, Int, (Str, Folder))                                                                                                                    \
  X(cMakeMultipleDir, Int, (Str, Folder))                                                                                                            \
  X(cMakePath, String, (Str, Drive), (Str, Directory), (Str, FileName), (Str, Extension))                                                            \
  X(cRcsCountFileDir, Int, (Int, Which), (Str, Folder), (Str, FilePattern), (Int, Recurse))                                                          \
  X(cRcsFilesSize, Double, (Str, Folder), (Str, FilePattern), (Int, Recurse))                                                                        \
  X(cRcsFilesSizeOnDisk, Double, (Str, Folder), (Str, FilePattern), (Int, Recurse))                                                                  \
  X(cRcsFilesSlack, Long, (Str, Folder), (Str, FilePattern), (Int, Recurse), (DoubleRef, Size), (DoubleRef, SizeOnDisk))                             \
  X(cRenameFile, Int, (Str, OldName), (Str, NewName))                                                                                                \
  X(cSearchFile, Long, (Str, StartFolder), (Str, Pattern), (Str, ResultFile))                                                                        \
  X(cSplitPath, Int, (Str, Path), (PathPartsRef, Parts))                                                                                             \
  X(cSubDirectory, String, (Str, Pattern), (Int, FirstCall))                                                                                         \
  X(cTruncatePath, String, (Str, Path), (Long, MaxLength))                                                                                           \
  X(cUniqueFileName, String, (StrRef, Prefix))

// How many exports the library has: the one place the number is written. Everything
// else counts the rows above.
#define VNK_COUNT_ONE(name, ...) +1
namespace vnk {
inline constexpr int kExportCount = 0 VNK_EXPORTS(VNK_COUNT_ONE);
static_assert(kExportCount == 94, "an export was added to or dropped from the table: change the count here too");
}  // namespace vnk
#undef VNK_COUNT_ONE
