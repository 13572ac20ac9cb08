// The pictures of our clips, drawn frame by frame: the copying clip (files flying from the
// disc into a folder), the deleting clip (files flying out of a folder into a bin) and the
// opening movie (a title card with moving shapes).
#pragma once

#include <vector>

#include "tools/image.h"

namespace tools {

constexpr int kCopyClipFrames = 17;
constexpr int kCopyClipWidth = 260;
constexpr int kCopyClipHeight = 40;
constexpr int kDeleteClipFrames = 24;
constexpr int kDeleteClipWidth = 304;
constexpr int kDeleteClipHeight = 60;
constexpr int kOpeningWidth = 640;
constexpr int kOpeningHeight = 480;
constexpr int kOpeningFrames = 25;  // two and a half seconds at ten frames per second

std::vector<Image> DrawCopyClip();
std::vector<Image> DrawDeleteClip();
// The same title card stretched over any number of frames (at least two), so tests can ask
// for a longer movie.
std::vector<Image> DrawOpeningMovie(int frame_count);

}  // namespace tools
