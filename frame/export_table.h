// The library's whole boundary in one list: every export with its result kind and the
// kinds of its arguments, in order. The DLL's declarations, the test bench's typed entry
// points and vnkcall.exe are all generated from this list, so a signature is written
// once. Kinds are the VB declarations' own (see frame/boundary.h):
//   Str        ByVal x As String       StrRef       x As String
//   Int        ByVal x As Integer      Long         ByVal x As Long
//   LongRef    x As Long               DoubleRef    x As Double
//   FileAttribRef  x As FileAttrib     PathPartsRef x As PathParts
//   StrArray   x() As String           AnyArray     x() As Any (fixed-size elements)
// Results: Int (Integer), Long, Double, String.
#pragma once

#define VNK_EXPORTS(X)                                                        \
  X(cAllSubDirectories, String, Str, LongRef)                                 \
  X(cArrayOnDisk, Long, Str, AnyArray, Int)                                   \
  X(cArrayStringOnDisk, Long, Str, StrArray, Int, LongRef)                    \
  X(cChDir, Int, Str)                                                         \
  X(cChDrive, Int, Str)                                                       \
  X(cCmpFileAttribute, Int, Str, Str)                                         \
  X(cCmpFileContents, Int, Str, Str, Int)                                     \
  X(cCmpFileSize, Int, Str, Str)                                              \
  X(cCmpFileTime, Int, Str, Str)                                              \
  X(cCountDirectories, Int, Str)                                              \
  X(cCountFiles, Int, Str)                                                    \
  X(cFileChangeChars, Long, Str, StrRef, StrRef, Str)                         \
  X(cFileCompressTab, Long, Str, Str, Long)                                   \
  X(cFileCopy, Long, Str, Str)                                                \
  X(cFileCopy2, Long, Str, Str)                                               \
  X(cFileDateCreated, String, Str)                                            \
  X(cFileDrive, String, Str)                                                  \
  X(cFileExpandTab, Long, Str, Str, Long)                                     \
  X(cFileFilter, Long, Str, Str, StrRef)                                      \
  X(cFileFilterNot, Long, Str, Str, StrRef)                                   \
  X(cFileGetAttrib, Int, Str, FileAttribRef)                                  \
  X(cFileLastDateAccess, String, Str)                                         \
  X(cFileLastDateModified, String, Str)                                       \
  X(cFileLastTimeAccess, String, Str)                                         \
  X(cFileLastTimeModified, String, Str)                                       \
  X(cFileLineCount, Long, Str)                                                \
  X(cFileMerge, Long, Str, Str, Str)                                          \
  X(cFileMove, Long, Str, Str)                                                \
  X(cFilePathExists, Int, Str)                                                \
  X(cFileResetAllAttrib, Int, Str)                                            \
  X(cFileResetArchive, Int, Str)                                              \
  X(cFileResetFlag, Int, Str, Int)                                            \
  X(cFileResetHidden, Int, Str)                                               \
  X(cFileResetReadOnly, Int, Str)                                             \
  X(cFileResetSystem, Int, Str)                                               \
  X(cFileSearch, Long, Str, Str, Int)                                         \
  X(cFileSearchAndReplace, Long, Str, Str, Str, Str, Int)                     \
  X(cFileSearchCount, Long, Str, Str, Int)                                    \
  X(cFileSetAllAttrib, Int, Str)                                              \
  X(cFileSetArchive, Int, Str)                                                \
  X(cFileSetAttrib, Int, Str, FileAttribRef)                                  \
  X(cFileSetFlag, Int, Str, Int)                                              \
  X(cFileSetHidden, Int, Str)                                                 \
  X(cFileSetReadOnly, Int, Str)                                               \
  X(cFileSetSystem, Int, Str)                                                 \
  X(cFileSize, Long, Str)                                                     \
  X(cFileSort, Long, Str, Str, Int, Long, Long, Long, LongRef)                \
  X(cFileStatistics, Long, Str, LongRef, LongRef, LongRef)                    \
  X(cFileTimeCreated, String, Str)                                            \
  X(cFileToLower, Long, Str, Str)                                             \
  X(cFileToUpper, Long, Str, Str)                                             \
  X(cFileUUCP, Long, Str, Str, Int)                                           \
  X(cFilesInDirOnDisk, Int, Str, Str, Int)                                    \
  X(cFilesInDirToArray, Int, Str, Int, StrArray)                              \
  X(cFilesInDirectory, String, Str, Int)                                      \
  X(cFilesSize, Double, Str)                                                  \
  X(cFilesSizeOnDisk, Double, Str)                                            \
  X(cFilesSlack, Long, Str, DoubleRef, DoubleRef)                             \
  X(cFullPath, String, Str)                                                   \
  X(cGetDiskClusterSize, Double, Str)                                         \
  X(cGetDiskFree, Double, Str)                                                \
  X(cGetDiskSpace, Double, Str)                                               \
  X(cGetDiskUsed, Double, Str)                                                \
  X(cGetDriveType, Long, Str)                                                 \
  X(cIsFileArchive, Int, Str)                                                 \
  X(cIsFileCompressed, Int, Str)                                              \
  X(cIsFileEmpty, Int, Str)                                                   \
  X(cIsFileFlag, Int, Str, Int)                                               \
  X(cIsFileHidden, Int, Str)                                                  \
  X(cIsFileNormal, Int, Str)                                                  \
  X(cIsFileReadOnly, Int, Str)                                                \
  X(cIsFileSubDir, Int, Str)                                                  \
  X(cIsFileSystem, Int, Str)                                                  \
  X(cIsFilenameValid, Int, Str)                                               \
  X(cKillDir, Int, Str)                                                       \
  X(cKillDirFilesAll, Int, Str, Str)                                          \
  X(cKillDirs, Int, Str, Int)                                                 \
  X(cKillFile, Int, Str)                                                      \
  X(cKillFileAll, Int, Str)                                                   \
  X(cKillFiles, Int, Str)                                                     \
  X(cKillFilesAll, Int, Str)                                                  \
  X(cMakeDir, Int, Str)                                                       \
  X(cMakeMultipleDir, Int, Str)                                               \
  X(cMakePath, String, Str, Str, Str, Str)                                    \
  X(cRcsCountFileDir, Int, Int, Str, Str, Int)                                \
  X(cRcsFilesSize, Double, Str, Str, Int)                                     \
  X(cRcsFilesSizeOnDisk, Double, Str, Str, Int)                               \
  X(cRcsFilesSlack, Long, Str, Str, Int, DoubleRef, DoubleRef)                \
  X(cRenameFile, Int, Str, Str)                                               \
  X(cSearchFile, Long, Str, Str, Str)                                         \
  X(cSplitPath, Int, Str, PathPartsRef)                                       \
  X(cSubDirectory, String, Str, Int)                                          \
  X(cTruncatePath, String, Str, Long)                                         \
  X(cUniqueFileName, String, StrRef)
