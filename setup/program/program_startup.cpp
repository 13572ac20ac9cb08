// The start-up order of the program's windows.
#include "setup/program/program_startup.h"

namespace setup::win32 {

bool MakeMainDialog(MessageForm& form, WinUserInterface& windows, WinShell& shell) {
  windows.Attach(form);
  if (!windows.CreateMainDialog()) return false;
  shell.SetOwner(windows.MainDialog());
  return true;
}

void StartMainDialog(MessageForm& form, WinUserInterface& windows) {
  form.FormCreate();
  if (!windows.endRequested() && !form.flags().UninstallMode) windows.ShowMainDialogCentred();
  // The hidden forms are made once the dialog is on the screen, so that it appears sooner (their
  // window calls are server round trips under Wine); nothing reaches them before the message
  // loop runs FormShow.
  windows.CreateRemainingForms();
  if (!windows.endRequested()) windows.PostFormShow();
}

}  // namespace setup::win32
