// The progress window's status label: text on the window's face, drawn by the program itself.
//
// A label control of the system keeps its text in the window manager, and under Wine each new
// text is a round trip to the server (docs/performance.md); the copy step gives the label a new text
// for every file. This one keeps its text itself, answers WM_GETTEXT and WM_GETTEXTLENGTH from
// it, asks its parent for the colours with WM_CTLCOLORSTATIC as a label control does, and
// repaints itself before WM_SETTEXT returns.
#pragma once

#include "setup/platform/win32/windows_api.h"

namespace setup::win32 {

inline constexpr char kLabelClass[] = "SetupLabel";

// Registers kLabelClass on first use; false when it could not be registered.
bool RegisterLabelClass();

}  // namespace setup::win32
