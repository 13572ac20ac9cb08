// Run-length encoding of 8-bit pictures in the form video decoders and the animation
// control read (BI_RLE8): rows bottom-up, runs and literal stretches, end-of-line and
// end-of-bitmap escapes.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/image.h"

namespace tools {

// Encodes the whole picture as one self-contained (key) frame.
std::vector<std::uint8_t> EncodeRle8(const Image& image);

}  // namespace tools
