// Entry point: the library keeps nothing that needs setting up or tearing down, so every
// attach and detach notification simply succeeds.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
