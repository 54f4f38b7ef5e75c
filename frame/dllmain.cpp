// Entry point: the library keeps nothing that needs setting up or tearing down, so every
// attach and detach notification simply succeeds.
#include <windows.h>

namespace vnk {
HINSTANCE g_module = nullptr;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) vnk::g_module = module;
  return TRUE;
}
