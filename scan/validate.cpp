// cIsFilenameValid: the name validation, answered unchanged.
#include "frame/host.h"
#include "scan/validate_kernel.h"

extern "C" int16_t __stdcall cIsFilenameValid(vnk::StrArg name) { return vnk::ValidateFileName(name); }
