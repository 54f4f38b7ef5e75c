// Whether a name reaches a device rather than a file: the names every folder holds
// (NUL, CON, AUX, PRN, COM1 to COM9, LPT1 to LPT9) and the paths of the device space.
#pragma once

namespace vnk {

// True for a device name in any folder, in any case, with any extension and with a
// trailing colon or blanks ("nul", "C:\T\Nul.txt", "NUL:", "lpt1 .log"), and for every
// path of the device space ("\\.\PIPE\x", "//./COM1"). Nothing else is asked of the
// file system: a name that only the platform maps to a device is not recognised here.
bool NamesDevice(const char* path);

}  // namespace vnk
