// Loading system DLLs by full path, and the common controls' start-up.
#include "setup/platform/win32/system_library.h"

#include <commctrl.h>

#include <string>

namespace setup::win32 {

void RestrictDllSearchPath() {
  // SetDllDirectoryA("") removes the current folder from the search order of every later
  // LoadLibrary, including the ones the shell and COM make on our behalf (a planted DLL in the
  // current folder would otherwise be picked up there). It appeared in XP SP1, so it is looked
  // up instead of imported, or the program would not start on older systems. The stricter
  // SetDefaultDllDirectories is deliberately not used: on Vista it kept shell32 from loading
  // the handlers that shell links need.
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (kernel == nullptr) return;
  using SetDllDirectoryFunction = BOOL(WINAPI*)(LPCSTR);
  auto setDllDirectory =
      reinterpret_cast<SetDllDirectoryFunction>(reinterpret_cast<void*>(GetProcAddress(kernel, "SetDllDirectoryA")));
  if (setDllDirectory != nullptr) setDllDirectory("");
}

HMODULE LoadSystemLibrary(const char* name) {
  char folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::string path(folder, length);
  if (path.back() != '\\') path += '\\';
  path += name;
  // The altered search path makes the DLL's own imports come from its folder, the system
  // folder, too; otherwise they would be looked for beside setup.exe first.
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

namespace {

bool RegisterCommonControlClasses() {
  HMODULE comctl = LoadSystemLibrary("comctl32.dll");
  if (comctl == nullptr) return false;
  using InitExFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  auto initEx =
      reinterpret_cast<InitExFunction>(reinterpret_cast<void*>(GetProcAddress(comctl, "InitCommonControlsEx")));
  if (initEx != nullptr) {
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_ANIMATE_CLASS};
    if (initEx(&init)) return true;
  }
  // The comctl32 of the first Windows 95 has only InitCommonControls, which registers all classes.
  using InitFunction = void(WINAPI*)();
  auto init = reinterpret_cast<InitFunction>(reinterpret_cast<void*>(GetProcAddress(comctl, "InitCommonControls")));
  if (init == nullptr) return false;
  init();
  return true;
}

}  // namespace

bool InitCommonControlsFromSystem() {
  static const bool registered = RegisterCommonControlClasses();
  return registered;
}

}  // namespace setup::win32
