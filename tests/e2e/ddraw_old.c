/* A stand-in DDRAW.DLL that only carries the version resource of an old DirectX (6), put into a
   test prefix's system folder so that the installer's DirectX offer can be exercised. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reason;
  (void)reserved;
  return TRUE;
}
