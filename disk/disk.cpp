// Disk information: cGetDiskSpace, cGetDiskUsed, cGetDiskFree, cGetDiskClusterSize,
// cGetDriveType, cFileDrive.
#include "disk/disk.h"

#include <string>

#include "disk/root_kernel.h"
#include "files/size.h"
#include "frame/ascii_kernel.h"
#include "frame/host.h"
#include "system/fs.h"
#include "system/text.h"

namespace vnk {

namespace {

// The root name as the platform's disk services take it: no name at all (null) asks
// them about the current drive, which an empty argument names.
const char* RootArg(const RootName& root) { return root.text[0] != '\0' ? root.text : nullptr; }

}  // namespace

double DiskQuery(const char* drive, int selector) {
  RootName root = DriveRoot(drive);
  DWORD sectors_per_cluster, bytes_per_sector, free_clusters, total_clusters;
  if (!sys::DiskFreeSpace(RootArg(root), &sectors_per_cluster, &bytes_per_sector, &free_clusters, &total_clusters))
    return -1.0;
  // Each product is exact in a double: two 32-bit factors, then a third.
  double bytes = bytes_per_sector, per_cluster = sectors_per_cluster;
  switch (selector) {
    case DISK_CAPACITY: return static_cast<double>(total_clusters) * bytes * per_cluster;
    case DISK_USED: return static_cast<double>(total_clusters - free_clusters) * bytes * per_cluster;
    case DISK_FREE: return static_cast<double>(free_clusters) * bytes * per_cluster;
    case DISK_CLUSTER: return bytes * per_cluster;
    default: return -1.0;
  }
}

namespace {

// The drive letter a status query reports for an existing file: from the name when it
// starts with a letter and a colon, else the current drive. A blank when the file
// cannot be examined, or when there is no drive letter to report (a current directory
// on a network path).
char FileDriveLetter(const char* name) {
  // A file the library's size query can examine (it refuses wildcards and a bare "C:").
  if (!WholeFileSize(name)) return ' ';
  auto upper = [](char c) -> char {
    unsigned char u = static_cast<unsigned char>(c);
    return IsAsciiLetter(u) ? static_cast<char>(UpperAscii(u)) : ' ';
  };
  if (name[0] != '\0' && name[1] == ':') return upper(name[0]);
  // A current folder is taken with one byte more than a path argument may have (260 for
  // an ANSI call), as a MAX_PATH buffer and its terminator held it.
  std::string cur;
  if (!sys::CurrentFolder(&cur) || cur.size() < 2 || cur.size() > CallPathLimit() + 1 || cur[1] != ':') return ' ';
  return upper(cur[0]);
}

}  // namespace
}  // namespace vnk

using namespace vnk;

extern "C" double __stdcall cGetDiskSpace(StrArg drive) {
  return Shield<double>(-1.0, [&] { return DiskQuery(drive, DISK_CAPACITY); });
}
extern "C" double __stdcall cGetDiskUsed(StrArg drive) {
  return Shield<double>(-1.0, [&] { return DiskQuery(drive, DISK_USED); });
}
extern "C" double __stdcall cGetDiskFree(StrArg drive) {
  return Shield<double>(-1.0, [&] { return DiskQuery(drive, DISK_FREE); });
}
extern "C" double __stdcall cGetDiskClusterSize(StrArg drive) {
  return Shield<double>(-1.0, [&] { return DiskQuery(drive, DISK_CLUSTER); });
}

// A drive that cannot be asked about reads as the platform's "unknown" (0).
extern "C" int32_t __stdcall cGetDriveType(StrArg drive) {
  return Shield<int32_t>(DRIVE_UNKNOWN,
                         [&] { return static_cast<int32_t>(sys::DriveType(RootArg(DriveRoot(drive)))); });
}

extern "C" BSTR __stdcall cFileDrive(StrArg name) {
  char letter = Shield<char>(' ', [&] { return FileDriveLetter(name); });
  return NewString(&letter, 1);
}
