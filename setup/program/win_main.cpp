// The entry point of setup.exe: builds the Win32 platform and the main dialog's behaviour,
// starts the windows and runs the message loop until the main dialog closes.
#include "setup/platform/win32/windows_api.h"

#include "setup/app/message_form.h"
#include "setup/platform/win32/system_library.h"
#include "setup/platform/win32/win_file_system.h"
#include "setup/platform/win32/win_registry.h"
#include "setup/platform/win32/win_shell.h"
#include "setup/platform/win32/win_system.h"
#include "setup/program/program_startup.h"
#include "setup/windows/win_user_interface.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace setup::win32;
  RestrictDllSearchPath();

  WinFileSystem files;
  WinRegistry registry;
  WinShell shell;
  WinSystem system;
  WinUserInterface ui;
  setup::Platform platform{files, registry, shell, system, ui};
  setup::MessageForm form(platform);
  if (!MakeMainDialog(form, ui, shell)) return 0;
  StartMainDialog(form, ui);
  ui.RunMessageLoop();
  form.FormClose();
  return 0;
}
