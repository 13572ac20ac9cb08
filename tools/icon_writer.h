// Writes a Windows icon file holding one 32 x 32 picture in 16 colours with its
// transparency mask, and draws the launcher's and the installer's icons.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/image.h"

namespace tools {

constexpr int kIconSize = 32;
// Pixel value that marks a transparent pixel of an icon picture.
constexpr std::uint8_t kTransparent = 0xFF;

// image: 32 x 32, every pixel one of the sixteen colours or kTransparent.
std::vector<std::uint8_t> WriteIcon16(const Image& image);

// The launcher's icon: a disc with a play mark over it.
Image DrawLauncherIcon();
// The installer's icon: the same disc with an arrow pointing down, out of it onto the disk.
Image DrawSetupIcon();

}  // namespace tools
