// Drawing of the three clips. Positions follow simple arcs computed from each frame's place
// in its clip, so the motion reads as a throw from one side to the other.
#include "tools/clip_art.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace tools {
namespace {

constexpr double kPi = 3.14159265358979323846;

void DrawDocument(Image& img, int left, int top) {
  constexpr int kWidth = 12, kHeight = 15, kFold = 4;
  img.FillRect(left, top, kWidth, kHeight, kWhite);
  img.FrameRect(left, top, kWidth, kHeight, kBlack);
  // Dog-eared corner: cut the top right and draw the fold.
  for (int i = 0; i < kFold; ++i) img.FillRect(left + kWidth - kFold + i, top, kFold - i, 1 + i, kSilver);
  img.Line(left + kWidth - kFold - 1, top, left + kWidth - 1, top + kFold, kBlack);
  for (int row = 0; row < 4; ++row) img.FillRect(left + 3, top + 5 + 2 * row, kWidth - 6, 1, kGrey);
}

void DrawFolderBack(Image& img, int left, int top, int width, int height) {
  img.FillRect(left, top, width / 3, 4, kOlive);  // the tab
  img.FillRect(left, top + 3, width, height - 3, kOlive);
}

void DrawFolderFront(Image& img, int left, int top, int width, int height) {
  const int front_top = top + height / 3;
  img.FillRect(left, front_top, width, top + height - front_top, kYellow);
  img.FrameRect(left, front_top, width, top + height - front_top, kOlive);
}

void DrawDisc(Image& img, int cx, int cy, int radius, std::uint8_t background) {
  img.FillCircle(cx, cy, radius, kGrey);
  img.FillCircle(cx, cy, radius - 1, kWhite);
  img.FillCircle(cx, cy, radius * 2 / 3, kAqua);
  img.FillCircle(cx, cy, radius / 3, kSilver);
  img.FillCircle(cx, cy, radius / 6, background);
}

void DrawBin(Image& img, int left, int top, int width, int height) {
  img.FillRect(left - 2, top, width + 4, 3, kGrey);  // the lid
  img.FillRect(left, top + 4, width, height - 4, kGrey);
  img.FrameRect(left, top + 4, width, height - 4, kBlack);
  for (int x = left + 5; x < left + width - 3; x += 6) img.FillRect(x, top + 8, 2, height - 12, kBlack);
}

// Where a thrown document is after fraction t of its flight from (x0, y0) to (x1, y1),
// rising by lift pixels at the middle.
void ArcPosition(double t, int x0, int y0, int x1, int y1, int lift, int& x, int& y) {
  x = static_cast<int>(std::lround(x0 + (x1 - x0) * t));
  y = static_cast<int>(std::lround(y0 + (y1 - y0) * t - lift * std::sin(kPi * t)));
}

Image DrawCopyFrame(int index) {
  Image img(kCopyClipWidth, kCopyClipHeight, kSilver);
  DrawDisc(img, 22, 20, 17, kSilver);
  constexpr int kFolderLeft = 212, kFolderTop = 8, kFolderWidth = 40, kFolderHeight = 28;
  DrawFolderBack(img, kFolderLeft, kFolderTop, kFolderWidth, kFolderHeight);
  int x = 0, y = 0;
  // The flight ends with the page half in the folder, still showing above its front.
  ArcPosition(static_cast<double>(index) / (kCopyClipFrames - 1), 34, 16, kFolderLeft + 14, kFolderTop + 4, 16, x, y);
  DrawDocument(img, x, y);
  DrawFolderFront(img, kFolderLeft, kFolderTop, kFolderWidth, kFolderHeight);
  return img;
}

Image DrawDeleteFrame(int index) {
  Image img(kDeleteClipWidth, kDeleteClipHeight, kSilver);
  constexpr int kFolderLeft = 14, kFolderTop = 22, kFolderWidth = 44, kFolderHeight = 30;
  constexpr int kBinLeft = 252, kBinTop = 18, kBinWidth = 34, kBinHeight = 36;
  DrawFolderBack(img, kFolderLeft, kFolderTop, kFolderWidth, kFolderHeight);
  int x = 0, y = 0;
  ArcPosition(static_cast<double>(index) / (kDeleteClipFrames - 1), kFolderLeft + 16, 26, kBinLeft + 11, 24, 22, x, y);
  DrawDocument(img, x, y);
  DrawFolderFront(img, kFolderLeft, kFolderTop, kFolderWidth, kFolderHeight);
  DrawBin(img, kBinLeft, kBinTop + 12, kBinWidth, kBinHeight - 12);  // the bin swallows the page
  return img;
}

// Five-by-seven dot letters for the title, one string of 35 dots per letter, top row first.
struct Glyph {
  char letter;
  const char* dots;
};
constexpr Glyph kGlyphs[] = {
    {'W', "X...XX...XX...XX.X.XX.X.XXX.XXX...X"}, {'E', "XXXXXX....X....XXXX.X....X....XXXXX"},
    {'L', "X....X....X....X....X....X....XXXXX"}, {'C', ".XXX.X...XX....X....X....X...X.XXX."},
    {'O', ".XXX.X...XX...XX...XX...XX...X.XXX."}, {'M', "X...XXX.XXX.X.XX.X.XX...XX...XX...X"},
};
constexpr char kTitle[] = "WELCOME";
constexpr int kDot = 10;            // size of one dot of a letter on screen
constexpr int kLetterAdvance = 60;  // five dots and a gap

void DrawLetter(Image& img, char letter, int left, int top) {
  for (const Glyph& glyph : kGlyphs) {
    if (glyph.letter != letter) continue;
    for (int i = 0; i < 35; ++i) {
      if (glyph.dots[i] == 'X') img.FillRect(left + (i % 5) * kDot, top + (i / 5) * kDot, kDot - 1, kDot - 1, kWhite);
    }
  }
}

void DrawBackground(Image& img) {
  for (int y = 0; y < img.height; ++y) {
    const int shade = kRampBase + (kRampLength - 1) * y / (img.height - 1);
    img.FillRect(0, y, img.width, 1, static_cast<std::uint8_t>(shade));
  }
}

// Each letter drops in after the previous one and lands on the title line.
void DrawTitle(Image& img, double t) {
  const int count = static_cast<int>(sizeof(kTitle)) - 1;
  const int left = (img.width - (count * kLetterAdvance - (kLetterAdvance - 5 * kDot))) / 2;
  constexpr int kTitleTop = 140, kDropHeight = 220;
  for (int k = 0; k < count; ++k) {
    const double appear = 0.07 * k, landing = 0.15;
    if (t < appear) continue;
    const double fall = std::min(1.0, (t - appear) / landing);
    const int top = kTitleTop - static_cast<int>(std::lround((1.0 - fall) * kDropHeight));
    DrawLetter(img, kTitle[k], left + k * kLetterAdvance, top);
  }
}

void DrawShapes(Image& img, double t) {
  const int travel = img.width + 80;
  img.FillCircle(-40 + static_cast<int>(std::lround(travel * t)), 300, 24, kYellow);
  img.FillCircle(img.width + 40 - static_cast<int>(std::lround(travel * t)), 360, 16, kAqua);
  const int bounce = static_cast<int>(std::lround(30 * std::fabs(std::sin(4 * kPi * t))));
  img.FillTriangle(300, 400 - bounce, 340, 400 - bounce, 320, 370 - bounce, kFuchsia);
  // A bar that fills as the movie runs.
  img.FrameRect(120, 430, 400, 14, kWhite);
  img.FillRect(122, 432, static_cast<int>(std::lround(396 * t)), 10, kWhite);
}

}  // namespace

std::vector<Image> DrawCopyClip() {
  std::vector<Image> frames;
  for (int i = 0; i < kCopyClipFrames; ++i) frames.push_back(DrawCopyFrame(i));
  return frames;
}

std::vector<Image> DrawDeleteClip() {
  std::vector<Image> frames;
  for (int i = 0; i < kDeleteClipFrames; ++i) frames.push_back(DrawDeleteFrame(i));
  return frames;
}

std::vector<Image> DrawOpeningMovie(int frame_count) {
  if (frame_count < 2) throw std::invalid_argument("the opening movie needs at least two frames");
  std::vector<Image> frames;
  for (int i = 0; i < frame_count; ++i) {
    const double t = static_cast<double>(i) / (frame_count - 1);
    Image img(kOpeningWidth, kOpeningHeight, kBlack);
    DrawBackground(img);
    DrawShapes(img, t);
    DrawTitle(img, t);
    frames.push_back(std::move(img));
  }
  return frames;
}

}  // namespace tools
