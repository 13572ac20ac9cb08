// DLLs that the program does not import but loads itself, always by their full path in the
// system folder, so that a DLL of the same name planted beside setup.exe on the CD-ROM (the
// program's own folder comes first in the default search order) is never the one loaded.
#pragma once

#include "setup/platform/win32/windows_api.h"

namespace setup::win32 {

// Takes the current folder out of the DLL search order where the system can do that.
void RestrictDllSearchPath();

// LoadLibraryA on "<system folder>\<name>"; null when the file is missing or fails to load.
HMODULE LoadSystemLibrary(const char* name);

// Loads comctl32.dll from the system folder and registers the animation and progress-bar
// classes; false when the library is not there.
bool InitCommonControlsFromSystem();

}  // namespace setup::win32
