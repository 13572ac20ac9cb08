// RLE8 encoder. Every row is written in full, so each frame can be shown on its own.
#include "tools/rle8.h"

#include <cstddef>

namespace tools {
namespace {

constexpr int kMaxRun = 255;
// A literal stretch needs at least three bytes: "00 01" and "00 02" are escapes.
constexpr int kMinLiteral = 3;

int RunLength(const std::uint8_t* row, int from, int width) {
  int length = 1;
  while (from + length < width && length < kMaxRun && row[from + length] == row[from]) ++length;
  return length;
}

void EmitRun(std::vector<std::uint8_t>& out, int length, std::uint8_t value) {
  out.push_back(static_cast<std::uint8_t>(length));
  out.push_back(value);
}

// Literal bytes: a stretch shorter than the minimum goes out as runs of one.
void EmitLiteral(std::vector<std::uint8_t>& out, const std::uint8_t* bytes, int length) {
  if (length < kMinLiteral) {
    for (int i = 0; i < length; ++i) EmitRun(out, 1, bytes[i]);
    return;
  }
  out.push_back(0);
  out.push_back(static_cast<std::uint8_t>(length));
  out.insert(out.end(), bytes, bytes + length);
  if (length % 2 != 0) out.push_back(0);  // literal stretches end on a 16-bit boundary
}

void EncodeRow(std::vector<std::uint8_t>& out, const std::uint8_t* row, int width) {
  int x = 0;
  while (x < width) {
    const int run = RunLength(row, x, width);
    if (run >= 2) {
      EmitRun(out, run, row[x]);
      x += run;
      continue;
    }
    // Gather pixels until a run worth encoding starts or the stretch is full.
    int end = x + 1;
    while (end < width && end - x < kMaxRun && RunLength(row, end, width) < 2) ++end;
    EmitLiteral(out, row + x, end - x);
    x = end;
  }
}

}  // namespace

std::vector<std::uint8_t> EncodeRle8(const Image& image) {
  std::vector<std::uint8_t> out;
  for (int y = image.height - 1; y >= 0; --y) {
    EncodeRow(out, image.pixels.data() + static_cast<std::size_t>(y) * image.width, image.width);
    const bool last_row = y == 0;
    out.push_back(0);
    out.push_back(last_row ? 1 : 0);
  }
  return out;
}

}  // namespace tools
