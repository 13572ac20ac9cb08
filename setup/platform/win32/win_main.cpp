// The entry point of setup.exe: builds the Win32 platform and the main dialog's behaviour,
// shows the main dialog as soon as it is made and filled in, then makes the other forms and runs
// the message loop.
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
  if (!ui.endRequested() && !form.flags().UninstallMode) ui.ShowMainDialogCentred();
  // The hidden forms are made once the dialog is on the screen, so that it appears sooner (their
  // window calls are server round trips under Wine); nothing reaches them before the message
  // loop runs FormShow.
  ui.CreateRemainingForms();
  if (!ui.endRequested()) ui.PostFormShow();
  ui.RunMessageLoop();
  form.FormClose();
  return 0;
}
