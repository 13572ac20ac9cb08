// The start-up of setup.exe, in the one order the program, the Win32 layer test and the Wine
// benchmarks share: the main dialog made and wired to MessageForm and the shell, then FormCreate,
// the dialog shown, the other forms made and FormShow posted for the message loop.
#pragma once

#include "setup/app/message_form.h"
#include "setup/platform/win32/win_shell.h"
#include "setup/windows/win_user_interface.h"

namespace setup::win32 {

// Makes the main dialog for form and hands it to the shell as the owner of its windows (the
// folder picker). False when the dialog could not be made.
bool MakeMainDialog(MessageForm& form, WinUserInterface& windows, WinShell& shell);

// Runs FormCreate (in uninstall mode the whole uninstallation), shows the dialog unless the
// program is ending or uninstalling, makes the other forms and posts FormShow.
void StartMainDialog(MessageForm& form, WinUserInterface& windows);

}  // namespace setup::win32
