// The argument names of every export, as a VB program's declarations show them. The
// kinds live in frame/export_table.h; these are only the names, in argument order.
// tools/declarations.h refuses to compile when an export of the table is missing here or
// has a different number of names. Names avoid VB's keywords and built-in functions
// (Name, Input, Output, Dir, Len, Width...), so that the declarations paste cleanly.
#pragma once

#define VNK_ARG_NAMES(N)                                                                      \
  N(cAllSubDirectories, "Folder", "Count")                                                    \
  N(cArrayOnDisk, "FileName", "Values", "Direction")                                          \
  N(cArrayStringOnDisk, "FileName", "Items", "Direction", "ElementCount")                     \
  N(cChDir, "Folder")                                                                         \
  N(cChDrive, "Drive")                                                                        \
  N(cCmpFileAttribute, "File1", "File2")                                                      \
  N(cCmpFileContents, "File1", "File2", "Mode")                                               \
  N(cCmpFileSize, "File1", "File2")                                                           \
  N(cCmpFileTime, "File1", "File2")                                                           \
  N(cCountDirectories, "Pattern")                                                             \
  N(cCountFiles, "Pattern")                                                                   \
  N(cFileChangeChars, "FileName", "FromChars", "ToChars", "WorkFile")                         \
  N(cFileCompressTab, "Source", "Target", "TabSize")                                          \
  N(cFileCopy, "Source", "Target")                                                            \
  N(cFileCopy2, "Source", "Target")                                                           \
  N(cFileDateCreated, "FileName")                                                             \
  N(cFileDrive, "FileName")                                                                   \
  N(cFileExpandTab, "Source", "Target", "TabSize")                                            \
  N(cFileFilter, "Source", "Target", "Chars")                                                 \
  N(cFileFilterNot, "Source", "Target", "Chars")                                              \
  N(cFileGetAttrib, "FileName", "Attr")                                                       \
  N(cFileLastDateAccess, "FileName")                                                          \
  N(cFileLastDateModified, "FileName")                                                        \
  N(cFileLastTimeAccess, "FileName")                                                          \
  N(cFileLastTimeModified, "FileName")                                                        \
  N(cFileLineCount, "FileName")                                                               \
  N(cFileMerge, "FirstFile", "SecondFile", "Target")                                          \
  N(cFileMove, "Source", "Target")                                                            \
  N(cFilePathExists, "Path")                                                                  \
  N(cFileResetAllAttrib, "FileName")                                                          \
  N(cFileResetArchive, "FileName")                                                            \
  N(cFileResetFlag, "FileName", "Flag")                                                       \
  N(cFileResetHidden, "FileName")                                                             \
  N(cFileResetReadOnly, "FileName")                                                           \
  N(cFileResetSystem, "FileName")                                                             \
  N(cFileSearch, "FileName", "SearchText", "CaseSensitive")                                   \
  N(cFileSearchAndReplace, "FileName", "SearchText", "ReplaceText", "WorkFile", "CaseSensitive") \
  N(cFileSearchCount, "FileName", "SearchText", "CaseSensitive")                              \
  N(cFileSetAllAttrib, "FileName")                                                            \
  N(cFileSetArchive, "FileName")                                                              \
  N(cFileSetAttrib, "FileName", "Attr")                                                       \
  N(cFileSetFlag, "FileName", "Flag")                                                         \
  N(cFileSetHidden, "FileName")                                                               \
  N(cFileSetReadOnly, "FileName")                                                             \
  N(cFileSetSystem, "FileName")                                                               \
  N(cFileSize, "FileName")                                                                    \
  N(cFileSort, "Source", "Target", "SortType", "RecordLength", "KeyOffset", "KeyLength", "Count") \
  N(cFileStatistics, "FileName", "Lines", "Words", "Characters")                              \
  N(cFileTimeCreated, "FileName")                                                             \
  N(cFileToLower, "Source", "Target")                                                         \
  N(cFileToUpper, "Source", "Target")                                                         \
  N(cFileUUCP, "Source", "Target", "Direction")                                               \
  N(cFilesInDirOnDisk, "ListFile", "Pattern", "AttribFilter")                                 \
  N(cFilesInDirToArray, "Pattern", "AttribFilter", "Names")                                   \
  N(cFilesInDirectory, "Pattern", "FirstCall")                                                \
  N(cFilesSize, "Pattern")                                                                    \
  N(cFilesSizeOnDisk, "Pattern")                                                              \
  N(cFilesSlack, "Pattern", "Size", "SizeOnDisk")                                             \
  N(cFullPath, "Path")                                                                        \
  N(cGetDiskClusterSize, "Drive")                                                             \
  N(cGetDiskFree, "Drive")                                                                    \
  N(cGetDiskSpace, "Drive")                                                                   \
  N(cGetDiskUsed, "Drive")                                                                    \
  N(cGetDriveType, "Drive")                                                                   \
  N(cIsFileArchive, "FileName")                                                               \
  N(cIsFileCompressed, "FileName")                                                            \
  N(cIsFileEmpty, "FileName")                                                                 \
  N(cIsFileFlag, "FileName", "Flag")                                                          \
  N(cIsFileHidden, "FileName")                                                                \
  N(cIsFileNormal, "FileName")                                                                \
  N(cIsFileReadOnly, "FileName")                                                              \
  N(cIsFileSubDir, "FileName")                                                                \
  N(cIsFileSystem, "FileName")                                                                \
  N(cIsFilenameValid, "FileName")                                                             \
  N(cKillDir, "Folder")                                                                       \
  N(cKillDirFilesAll, "Folder", "Pattern")                                                    \
  N(cKillDirs, "Folder", "RemoveFolder")                                                      \
  N(cKillFile, "FileName")                                                                    \
  N(cKillFileAll, "FileName")                                                                 \
  N(cKillFiles, "Pattern")                                                                    \
  N(cKillFilesAll, "Pattern")                                                                 \
  N(cMakeDir, "Folder")                                                                       \
  N(cMakeMultipleDir, "Folder")                                                               \
  N(cMakePath, "Drive", "Directory", "FileName", "Extension")                                 \
  N(cRcsCountFileDir, "Which", "Folder", "FilePattern", "Recurse")                            \
  N(cRcsFilesSize, "Folder", "FilePattern", "Recurse")                                        \
  N(cRcsFilesSizeOnDisk, "Folder", "FilePattern", "Recurse")                                  \
  N(cRcsFilesSlack, "Folder", "FilePattern", "Recurse", "Size", "SizeOnDisk")                 \
  N(cRenameFile, "OldName", "NewName")                                                        \
  N(cSearchFile, "StartFolder", "Pattern", "ResultFile")                                      \
  N(cSplitPath, "Path", "Parts")                                                              \
  N(cSubDirectory, "Pattern", "FirstCall")                                                    \
  N(cTruncatePath, "Path", "MaxLength")                                                       \
  N(cUniqueFileName, "Prefix")
