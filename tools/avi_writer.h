// Writes a silent AVI file of RLE8 key frames in the layout that both the animation control
// (clips in a program's resources) and the multimedia player window accept.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/image.h"

namespace tools {

struct ClipFrames {
  std::vector<Image> frames;  // all of the same size
  std::vector<Rgb> palette;   // 256 entries
  int frames_per_second = 10;
};

// The complete file. All frames must share one size; there must be at least one.
std::vector<std::uint8_t> WriteRle8Avi(const ClipFrames& clip);

}  // namespace tools
