// The progress window's bar: a horizontal bar of blocks, drawn by the program itself, that
// answers the range, position and step messages of the common progress bar (PBM_*).
//
// It repaints itself before a message that changes it returns, as the common control does,
// but only the blocks that appear or go. The copy step moves the bar on every file, most
// often by less than one pixel; the common control repaints itself through a full WM_PAINT
// cycle each time, which under Wine costs more than copying a small file (docs/performance.md).
#pragma once

#include "setup/platform/win32/windows_api.h"

namespace setup::win32 {

inline constexpr char kProgressBarClass[] = "SetupProgressBar";

// Registers kProgressBarClass on first use; false when it could not be registered.
bool RegisterProgressBarClass();

}  // namespace setup::win32
