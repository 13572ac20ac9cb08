// The progress window's bar: a horizontal bar of blocks, drawn by the program itself, that
// answers the range, position and step messages of the common progress bar (PBM_*).
//
// It repaints itself before a message that changes it returns, as the common control does,
// but only the blocks that appear or go. The copy step moves the bar on every file, most
// often by less than one pixel; the common control repaints itself through a full WM_PAINT
// cycle each time, which under Wine costs 0.7 ms, more than copying a small file.
#pragma once

#include "setup/platform/win32/windows_api.h"

namespace setup::win32 {

inline constexpr char kProgressBarClass[] = "SetupProgressBar";

// Registers kProgressBarClass on first use; false when it could not be registered.
bool RegisterProgressBarClass();

// The bar's drawing, in the client area of the given size.
struct BarLayout {
  RECT blocks;     // the strip the blocks lie in, inside the sunken edge and a one-pixel margin
  int blockWidth;  // two thirds of the strip's height, at least one pixel
  int pitch;       // block and gap
  int slots;       // blocks that fit, the last one possibly cut
};
BarLayout LayOutBar(int clientWidth, int clientHeight);

// The blocks shown for a position: every block that starts left of the filled width, which is
// the position's share of the strip's width.
int BlocksShown(const BarLayout& layout, int minimum, int maximum, int position);

}  // namespace setup::win32
