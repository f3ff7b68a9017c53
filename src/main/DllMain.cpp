// Entry routine of the Windows DLL. The library has no per-process or
// per-thread state, so loading and unloading never fail on its account.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
