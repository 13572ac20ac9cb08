// Palette-indexed pictures and the few drawing primitives the build-time art is made of.
// Rows are stored top-down; writers that need bottom-up order flip on output.
#pragma once

#include <cstdint>
#include <vector>

namespace tools {

// The sixteen colours every display of the target systems can show, in the order of the
// standard 16-colour palette, so the same indices serve the 8-bit clips and the 4-bit icon.
enum Colour : std::uint8_t {
  kBlack = 0,
  kMaroon,
  kGreen,
  kOlive,
  kNavy,
  kPurple,
  kTeal,
  kSilver,
  kGrey,
  kRed,
  kLime,
  kYellow,
  kBlue,
  kFuchsia,
  kAqua,
  kWhite,
};

struct Rgb {
  std::uint8_t red, green, blue;
};

// The 256-entry palette of the clips: the sixteen colours, then a blue ramp used by the
// opening movie's background, then black.
std::vector<Rgb> ClipPalette();
// The sixteen colours alone.
std::vector<Rgb> StandardPalette16();

// First palette index of the blue ramp and its length.
constexpr int kRampBase = 16;
constexpr int kRampLength = 32;

struct Image {
  Image(int width, int height, std::uint8_t fill);

  int width;
  int height;
  std::vector<std::uint8_t> pixels;  // width * height indices, top row first

  std::uint8_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  // Drawing clips silently at the edges, so shapes may move partly out of the picture.
  void Plot(int x, int y, std::uint8_t colour);
  void FillRect(int left, int top, int width, int height, std::uint8_t colour);
  void FrameRect(int left, int top, int width, int height, std::uint8_t colour);
  void FillCircle(int centre_x, int centre_y, int radius, std::uint8_t colour);
  void Line(int x0, int y0, int x1, int y1, std::uint8_t colour);
  // A triangle given by its corners, filled.
  void FillTriangle(int x0, int y0, int x1, int y1, int x2, int y2, std::uint8_t colour);
};

bool operator==(const Image& a, const Image& b);

}  // namespace tools
