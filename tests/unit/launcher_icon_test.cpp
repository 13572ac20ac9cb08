// The launcher's and the installer's icon files read back: one 32 x 32 picture in 16 colours
// whose colour rows and transparency mask reproduce the drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <stdexcept>
#include <vector>

#include "tools/icon_writer.h"

namespace tools {
inline void PrintTo(const Image& image, std::ostream* out) { *out << image.width << "x" << image.height << " picture"; }
}  // namespace tools

namespace {

using Bytes = std::vector<std::uint8_t>;
using tools::Image;

std::uint32_t U32At(const Bytes& b, std::size_t at) {
  return b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 | static_cast<std::uint32_t>(b.at(at + 3)) << 24;
}
std::uint16_t U16At(const Bytes& b, std::size_t at) { return static_cast<std::uint16_t>(b.at(at) | b.at(at + 1) << 8); }

// Reads the picture back from the file, marking masked pixels transparent; fails the test
// when a masked pixel is not black (it would tint the desktop under the icon).
Image ReadIconPicture(const Bytes& file) {
  const std::size_t bitmap = U32At(file, 6 + 12);
  const std::size_t colour_rows = bitmap + 40 + 16 * 4;
  const std::size_t mask_rows = colour_rows + 16 * 32;
  Image image(32, 32, 0);
  for (int y = 0; y < 32; ++y) {
    const int stored_row = 31 - y;  // bottom-up
    for (int x = 0; x < 32; ++x) {
      const std::uint8_t packed = file.at(colour_rows + stored_row * 16 + x / 2);
      const std::uint8_t colour = x % 2 == 0 ? packed >> 4 : packed & 0x0F;
      const bool masked = (file.at(mask_rows + stored_row * 4 + x / 8) & (0x80 >> (x % 8))) != 0;
      if (masked) {
        EXPECT_EQ(colour, 0) << "masked pixel " << x << "," << y << " is not black";
      }
      image.pixels[y * 32 + x] = masked ? tools::kTransparent : colour;
    }
  }
  return image;
}

TEST(LauncherIcon, FileHoldsOne32By32SixteenColourPicture) {
  const Bytes file = tools::WriteIcon16(tools::DrawLauncherIcon());
  EXPECT_EQ(U16At(file, 0), 0);  // reserved
  EXPECT_EQ(U16At(file, 2), 1);  // icon, not cursor
  ASSERT_EQ(U16At(file, 4), 1);  // pictures
  EXPECT_EQ(file.at(6), 32);
  EXPECT_EQ(file.at(7), 32);
  EXPECT_EQ(file.at(8), 16);
  EXPECT_EQ(U16At(file, 12), 4);
  const std::uint32_t bytes = U32At(file, 14), offset = U32At(file, 18);
  EXPECT_EQ(offset, 22u);
  EXPECT_EQ(offset + bytes, file.size());
  EXPECT_EQ(bytes, 40u + 64u + 512u + 128u);

  EXPECT_EQ(U32At(file, offset + 0), 40u);
  EXPECT_EQ(U32At(file, offset + 4), 32u);
  EXPECT_EQ(U32At(file, offset + 8), 64u);  // colour rows and mask rows
  EXPECT_EQ(U16At(file, offset + 12), 1);
  EXPECT_EQ(U16At(file, offset + 14), 4);
  EXPECT_EQ(U32At(file, offset + 16), 0u);  // uncompressed
  const auto palette = tools::StandardPalette16();
  for (int i = 0; i < 16; ++i) {
    const std::size_t p = offset + 40 + 4 * i;
    EXPECT_TRUE(file.at(p) == palette[i].blue && file.at(p + 1) == palette[i].green && file.at(p + 2) == palette[i].red)
        << "palette entry " << i;
  }
}

TEST(LauncherIcon, ColourRowsAndMaskReproduceTheDrawing) {
  for (const Image& drawn : {tools::DrawLauncherIcon(), tools::DrawSetupIcon()}) {
    // Both kinds of pixel must occur, or the mask is not really exercised.
    const auto transparent = std::count(drawn.pixels.begin(), drawn.pixels.end(), tools::kTransparent);
    ASSERT_GT(transparent, 0);
    ASSERT_LT(transparent, 32 * 32);
    EXPECT_EQ(ReadIconPicture(tools::WriteIcon16(drawn)), drawn);
  }
}

TEST(LauncherIcon, WriterRefusesPicturesAnIconCannotHold) {
  EXPECT_THROW(tools::WriteIcon16(Image(16, 16, 0)), std::invalid_argument);
  Image too_many_colours(32, 32, 0);
  too_many_colours.Plot(5, 5, 16);
  EXPECT_THROW(tools::WriteIcon16(too_many_colours), std::invalid_argument);
}

}  // namespace
