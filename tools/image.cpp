// Drawing primitives for the build-time art: clipped plotting, rectangles, circles, lines
// and triangles on palette-indexed pictures.
#include "tools/image.h"

#include <algorithm>
#include <cstdlib>

namespace tools {

std::vector<Rgb> StandardPalette16() {
  return {{0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},  {0, 0, 128}, {128, 0, 128},
          {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},    {0, 255, 0}, {255, 255, 0},
          {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
}

std::vector<Rgb> ClipPalette() {
  std::vector<Rgb> palette = StandardPalette16();
  for (int i = 0; i < kRampLength; ++i) {
    const int level = 40 + i * 140 / (kRampLength - 1);
    palette.push_back({0, static_cast<std::uint8_t>(level / 3), static_cast<std::uint8_t>(level)});
  }
  palette.resize(256, Rgb{0, 0, 0});
  return palette;
}

Image::Image(int w, int h, std::uint8_t fill) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill) {}

void Image::Plot(int x, int y, std::uint8_t colour) {
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  pixels[static_cast<std::size_t>(y) * width + x] = colour;
}

void Image::FillRect(int left, int top, int w, int h, std::uint8_t colour) {
  const int x0 = std::max(left, 0), x1 = std::min(left + w, width);
  const int y0 = std::max(top, 0), y1 = std::min(top + h, height);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) pixels[static_cast<std::size_t>(y) * width + x] = colour;
  }
}

void Image::FrameRect(int left, int top, int w, int h, std::uint8_t colour) {
  FillRect(left, top, w, 1, colour);
  FillRect(left, top + h - 1, w, 1, colour);
  FillRect(left, top, 1, h, colour);
  FillRect(left + w - 1, top, 1, h, colour);
}

void Image::FillCircle(int cx, int cy, int radius, std::uint8_t colour) {
  // The extra radius in the test rounds the outline: no lone pixels at the four extremes.
  for (int dy = -radius; dy <= radius; ++dy) {
    for (int dx = -radius; dx <= radius; ++dx) {
      if (dx * dx + dy * dy <= radius * radius + radius) Plot(cx + dx, cy + dy, colour);
    }
  }
}

void Image::Line(int x0, int y0, int x1, int y1, std::uint8_t colour) {
  const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  for (;;) {
    Plot(x0, y0, colour);
    if (x0 == x1 && y0 == y1) return;
    const int twice = 2 * error;
    if (twice >= dy) error += dy, x0 += sx;
    if (twice <= dx) error += dx, y0 += sy;
  }
}

namespace {
// Twice the signed area of the triangle (a, b, p): its sign tells the side of p.
long EdgeSide(int ax, int ay, int bx, int by, int px, int py) {
  return static_cast<long>(bx - ax) * (py - ay) - static_cast<long>(by - ay) * (px - ax);
}
}  // namespace

void Image::FillTriangle(int x0, int y0, int x1, int y1, int x2, int y2, std::uint8_t colour) {
  const int left = std::min({x0, x1, x2}), right = std::max({x0, x1, x2});
  const int top = std::min({y0, y1, y2}), bottom = std::max({y0, y1, y2});
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      const long a = EdgeSide(x0, y0, x1, y1, x, y);
      const long b = EdgeSide(x1, y1, x2, y2, x, y);
      const long c = EdgeSide(x2, y2, x0, y0, x, y);
      if ((a >= 0 && b >= 0 && c >= 0) || (a <= 0 && b <= 0 && c <= 0)) Plot(x, y, colour);
    }
  }
}

bool operator==(const Image& a, const Image& b) {
  return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

}  // namespace tools
