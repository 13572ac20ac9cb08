// DLLs that the program does not import but loads itself, always by their full path in the
// system folder, so that a DLL of the same name planted beside setup.exe on the CD-ROM (the
// program's own folder comes first in the default search order) is never the one loaded.
#pragma once

#include "setup/platform/win32/windows_api.h"

namespace setup::win32 {

// Takes the current folder out of the DLL search order where the system can do that.
void RestrictDllSearchPath();

// Loads "<system folder>\<name>" with its own imports taken from the system folder too; null
// when the file is missing or fails to load.
HMODULE LoadSystemLibrary(const char* name);

// A function of a DLL loaded once from the system folder; null when the DLL or the function is
// missing. shell32 and ole32 are reached this way rather than imported: an imported DLL is
// loaded before the program runs, with its own imports searched beside setup.exe first, where
// a DLL planted on the CD under a system name (comctl32, version) would be taken.
template <typename Function>
Function SystemFunction(const char* library, const char* name) {
  HMODULE module = GetModuleHandleA(library);
  if (module == nullptr) module = LoadSystemLibrary(library);
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Loads comctl32.dll from the system folder and registers the animation control's
// class, the first time only; false when the library is not there.
bool InitCommonControlsFromSystem();

}  // namespace setup::win32
