// Icon file writer: ICONDIR, one ICONDIRENTRY, then the picture as a 4-bit DIB whose height
// counts both the colour rows and the 1-bit AND mask rows, both stored bottom-up.
#include "tools/icon_writer.h"

#include <stdexcept>

namespace tools {
namespace {

constexpr int kColourRowBytes = kIconSize / 2;  // 4 bits per pixel, already a multiple of 4
constexpr int kMaskRowBytes = 4;                // 1 bit per pixel, padded to 32 bits
constexpr std::uint32_t kHeaderBytes = 40;
constexpr std::uint32_t kPaletteBytes = 16 * 4;
constexpr std::uint32_t kImageBytes =
    kHeaderBytes + kPaletteBytes + kColourRowBytes * kIconSize + kMaskRowBytes * kIconSize;
constexpr std::uint32_t kDirectoryBytes = 6 + 16;

void U16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void U32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  U16(out, v & 0xFFFF);
  U16(out, v >> 16);
}

void WriteDirectory(std::vector<std::uint8_t>& out) {
  U16(out, 0);  // reserved
  U16(out, 1);  // resource type: icon
  U16(out, 1);  // one picture
  out.push_back(kIconSize);
  out.push_back(kIconSize);
  out.push_back(16);  // colours
  out.push_back(0);
  U16(out, 1);  // planes
  U16(out, 4);  // bits per pixel
  U32(out, kImageBytes);
  U32(out, kDirectoryBytes);
}

void WriteBitmapHeader(std::vector<std::uint8_t>& out) {
  U32(out, kHeaderBytes);
  U32(out, kIconSize);
  U32(out, kIconSize * 2);  // colour rows and mask rows together
  U16(out, 1);
  U16(out, 4);
  U32(out, 0);  // uncompressed
  U32(out, kImageBytes - kHeaderBytes - kPaletteBytes);
  U32(out, 0);
  U32(out, 0);
  U32(out, 16);
  U32(out, 0);
  for (const Rgb& c : StandardPalette16()) {
    out.push_back(c.blue);
    out.push_back(c.green);
    out.push_back(c.red);
    out.push_back(0);
  }
}

// Transparent pixels are black in the colour rows, so the screen shows through unchanged.
std::uint8_t ColourOf(std::uint8_t pixel) { return pixel == kTransparent ? 0 : pixel; }

void WriteRows(std::vector<std::uint8_t>& out, const Image& image) {
  for (int y = kIconSize - 1; y >= 0; --y) {
    for (int x = 0; x < kIconSize; x += 2) {
      out.push_back(static_cast<std::uint8_t>(ColourOf(image.At(x, y)) << 4 | ColourOf(image.At(x + 1, y))));
    }
  }
  for (int y = kIconSize - 1; y >= 0; --y) {
    for (int byte = 0; byte < kMaskRowBytes; ++byte) {
      std::uint8_t bits = 0;
      for (int bit = 0; bit < 8; ++bit) {
        if (image.At(byte * 8 + bit, y) == kTransparent) bits |= static_cast<std::uint8_t>(0x80 >> bit);
      }
      out.push_back(bits);
    }
  }
}

}  // namespace

std::vector<std::uint8_t> WriteIcon16(const Image& image) {
  if (image.width != kIconSize || image.height != kIconSize) throw std::invalid_argument("an icon is 32 x 32");
  for (std::uint8_t pixel : image.pixels) {
    if (pixel > kWhite && pixel != kTransparent) throw std::invalid_argument("an icon has sixteen colours");
  }
  std::vector<std::uint8_t> out;
  WriteDirectory(out);
  WriteBitmapHeader(out);
  WriteRows(out, image);
  return out;
}

namespace {

Image DrawDisc() {
  Image img(kIconSize, kIconSize, kTransparent);
  img.FillCircle(15, 15, 15, kGrey);
  img.FillCircle(15, 15, 14, kSilver);
  img.FillCircle(15, 15, 9, kWhite);
  img.FillCircle(15, 15, 5, kSilver);
  img.FillCircle(15, 15, 2, kTransparent);  // the hole in the middle of the disc
  return img;
}

}  // namespace

Image DrawSetupIcon() {
  Image img = DrawDisc();
  // The arrow, outlined like the launcher's play mark.
  img.FillRect(19, 11, 9, 12, kGreen);
  img.FillTriangle(15, 22, 31, 22, 23, 31, kGreen);
  img.FillRect(21, 13, 5, 11, kLime);
  img.FillTriangle(18, 23, 28, 23, 23, 28, kLime);
  return img;
}

Image DrawLauncherIcon() {
  Image img = DrawDisc();
  // The play mark, outlined so it stands out on the disc.
  img.FillTriangle(15, 13, 15, 31, 31, 22, kNavy);
  img.FillTriangle(17, 17, 17, 28, 27, 22, kBlue);
  return img;
}

}  // namespace tools
