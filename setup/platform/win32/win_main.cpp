// The entry point of setup.exe: builds the Win32 platform and the main dialog's behaviour,
// creates the windows in the program's order and runs the message loop.
#include "setup/platform/win32/windows_api.h"

#include "setup/app/message_form.h"
#include "setup/platform/win32/system_library.h"
#include "setup/platform/win32/win_file_system.h"
#include "setup/platform/win32/win_registry.h"
#include "setup/platform/win32/win_shell.h"
#include "setup/platform/win32/win_system.h"
#include "setup/platform/win32/win_user_interface.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace setup::win32;
  RestrictDllSearchPath();
  InitCommonControlsFromSystem();

  WinFileSystem files;
  WinRegistry registry;
  WinShell shell;
  WinSystem system;
  WinUserInterface ui;
  setup::Platform platform{files, registry, shell, system, ui};
  setup::MessageForm form(platform);
  ui.Attach(form);

  if (!ui.CreateMainDialog()) return 0;
  shell.SetOwner(ui.MainDialog());
  // In uninstall mode this runs the whole uninstall, with a progress window of its own.
  form.FormCreate();
  ui.CreateRemainingForms();
  if (!ui.endRequested()) {
    if (!form.flags().UninstallMode) ui.ShowMainDialogCentred();
    ui.PostFormShow();
  }
  ui.RunMessageLoop();
  form.FormClose();
  return 0;
}
