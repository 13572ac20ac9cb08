/* A stand-in DDRAW.DLL that only carries the version resource of one Windows or DirectX, put into
   a test prefix's system folder so that the installer's DirectX check can be exercised. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reason;
  (void)reserved;
  return TRUE;
}
