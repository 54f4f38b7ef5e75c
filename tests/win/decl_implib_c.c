/* The C side of the import-library test: varnok32.h compiles as C (its layout checks
   included) and the stdcall symbols resolve through libvarnok32.a. */
#include "varnok32.h"

long DeclFileSizeFromC(const char* path) { return cFileSize(path); }

/* Splits a path and hands back the byte lengths of the four parts, freeing them. */
short DeclSplitFromC(const char* path, unsigned lengths[4]) {
  PathParts parts = {NULL, NULL, NULL, NULL};
  short rc = cSplitPath(path, &parts);
  BSTR fields[4];
  int i;
  fields[0] = parts.Drive;
  fields[1] = parts.Directory;
  fields[2] = parts.FileName;
  fields[3] = parts.Extension;
  for (i = 0; i < 4; ++i) {
    lengths[i] = SysStringByteLen(fields[i]);
    SysFreeString(fields[i]);
  }
  return rc;
}
