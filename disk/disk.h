// Disk questions shared by the disk information exports and the size accounting.
#pragma once

namespace vnk {

// What DiskQuery reports about a drive.
enum DiskQuantity : int { DISK_CAPACITY = 1, DISK_USED = 2, DISK_FREE = 3, DISK_CLUSTER = 4 };

// Bytes of the drive named by the argument (see DriveRoot; "" is the current drive):
// capacity, used, free or one cluster, from what the platform reports for the volume.
// -1.0 when the drive cannot be queried or the selector is none of the four.
double DiskQuery(const char* drive, int selector);

}  // namespace vnk
