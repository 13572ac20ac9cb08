// The clip writer checked from the reader's side: an independent RLE8 decoder and RIFF reader
// take the written files apart, the pictures must come back exactly as drawn, and the header
// fields the animation control and the movie player depend on must hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/avi_writer.h"
#include "tools/clip_art.h"
#include "tools/rle8.h"

namespace tools {
// Failures name the picture's size instead of dumping its bytes.
inline void PrintTo(const Image& image, std::ostream* out) { *out << image.width << "x" << image.height << " picture"; }
}  // namespace tools

namespace {

using Bytes = std::vector<std::uint8_t>;
using tools::Image;

// Decodes one key frame strictly: every pixel must be written exactly once, no delta
// escapes, literal stretches padded to 16 bits, and nothing after the end-of-bitmap escape.
Image DecodeKeyFrame(const Bytes& data, int width, int height) {
  Image image(width, height, 0);
  std::vector<bool> written(static_cast<std::size_t>(width) * height, false);
  auto put = [&](int x, int y, std::uint8_t value) {
    if (x >= width || y < 0) throw std::runtime_error("pixel outside the picture");
    const std::size_t at = static_cast<std::size_t>(y) * width + x;
    if (written[at]) throw std::runtime_error("pixel written twice");
    written[at] = true;
    image.pixels[at] = value;
  };
  auto finish_row = [&](int x, int y) {
    if (x != width) throw std::runtime_error("row " + std::to_string(y) + " ends at " + std::to_string(x));
  };
  std::size_t i = 0;
  int x = 0, y = height - 1;  // bottom row first
  auto next = [&]() -> std::uint8_t {
    if (i >= data.size()) throw std::runtime_error("data ends without end of bitmap");
    return data[i++];
  };
  for (;;) {
    const std::uint8_t count = next(), value = next();
    if (count > 0) {
      for (int k = 0; k < count; ++k) put(x++, y, value);
    } else if (value == 0) {
      finish_row(x, y);
      x = 0, --y;
    } else if (value == 1) {
      finish_row(x, y);
      if (y != 0) throw std::runtime_error("end of bitmap before the top row");
      if (i != data.size()) throw std::runtime_error("bytes after end of bitmap");
      return image;
    } else if (value == 2) {
      throw std::runtime_error("delta escape in a key frame");
    } else {
      for (int k = 0; k < value; ++k) put(x++, y, next());
      if (value % 2 != 0 && next() != 0) throw std::runtime_error("literal padding is not zero");
    }
  }
}

Image RandomImage(int width, int height, int colours, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> pick(0, colours - 1);
  Image image(width, height, 0);
  for (auto& pixel : image.pixels) pixel = static_cast<std::uint8_t>(pick(random));
  return image;
}

Image RowOf(const std::vector<std::uint8_t>& row) {
  Image image(static_cast<int>(row.size()), 1, 0);
  image.pixels = row;
  return image;
}

void ExpectRoundTrip(const Image& image) {
  const Bytes encoded = tools::EncodeRle8(image);
  try {
    EXPECT_EQ(DecodeKeyFrame(encoded, image.width, image.height), image);
  } catch (const std::exception& e) {
    ADD_FAILURE() << image.width << "x" << image.height << ": " << e.what();
  }
}

TEST(ClipRle8, RoundTripsRunsLongerThanOneCount) {
  ExpectRoundTrip(Image(1, 1, 7));
  ExpectRoundTrip(Image(255, 3, 9));
  ExpectRoundTrip(Image(256, 3, 9));
  ExpectRoundTrip(Image(640, 2, 200));
}

TEST(ClipRle8, RoundTripsLiteralStretchesOfEveryAwkwardLength) {
  for (int length : {1, 2, 3, 4, 5, 254, 255, 256, 257, 511}) {
    std::vector<std::uint8_t> row;
    for (int i = 0; i < length; ++i) row.push_back(static_cast<std::uint8_t>(i % 2 == 0 ? i % 251 : 255 - i % 3));
    ExpectRoundTrip(RowOf(row));
  }
}

TEST(ClipRle8, RoundTripsMixturesOfShortRunsAndLiterals) {
  ExpectRoundTrip(RowOf({1, 1, 2, 3, 3, 4, 5, 6, 6, 6, 7}));
  ExpectRoundTrip(RowOf({0, 0}));
  ExpectRoundTrip(RowOf({0, 1}));
  ExpectRoundTrip(RowOf({0, 1, 2}));
  ExpectRoundTrip(RowOf({5, 0, 0, 1, 1, 2}));
  // Values that look like escapes when written as literal stretches.
  ExpectRoundTrip(RowOf({0, 1, 0, 2, 0, 0, 1, 0}));
}

TEST(ClipRle8, RoundTripsRandomPictures) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    ExpectRoundTrip(RandomImage(1 + seed * 17 % 300, 1 + seed % 9, seed % 2 == 0 ? 3 : 256, seed));
  }
}

TEST(ClipRle8, FlatRowsCostAFewBytes) {
  // 640 pixels of one colour: three runs and the row's end escape.
  const Bytes encoded = tools::EncodeRle8(Image(640, 10, 4));
  EXPECT_LE(encoded.size(), 10u * 8u);
}

// A RIFF chunk as read from a file: its id, where its data starts and how long it is.
struct Chunk {
  std::string id;
  std::size_t data;
  std::uint32_t size;
  std::string list_type;  // for RIFF and LIST
  std::vector<Chunk> children;
};

std::uint32_t U32At(const Bytes& b, std::size_t at) {
  if (at + 4 > b.size()) throw std::runtime_error("read past the end of the file");
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t U16At(const Bytes& b, std::size_t at) { return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8); }
std::string FourCcAt(const Bytes& b, std::size_t at) { return std::string(b.begin() + at, b.begin() + at + 4); }

std::vector<Chunk> ReadChunks(const Bytes& b, std::size_t from, std::size_t to) {
  std::vector<Chunk> chunks;
  while (from < to) {
    if (from % 2 != 0) throw std::runtime_error("chunk at an odd offset");
    Chunk chunk{FourCcAt(b, from), from + 8, U32At(b, from + 4), "", {}};
    if (chunk.data + chunk.size > to) throw std::runtime_error("chunk " + chunk.id + " overruns its parent");
    if (chunk.id == "RIFF" || chunk.id == "LIST") {
      chunk.list_type = FourCcAt(b, chunk.data);
      chunk.children = ReadChunks(b, chunk.data + 4, chunk.data + chunk.size);
    }
    from = chunk.data + chunk.size + chunk.size % 2;
    chunks.push_back(chunk);
  }
  if (from != to) throw std::runtime_error("padding runs past the parent");
  return chunks;
}

const Chunk& Child(const Chunk& parent, const std::string& id, const std::string& list_type = "") {
  for (const Chunk& c : parent.children) {
    if (c.id == id && c.list_type == list_type) return c;
  }
  throw std::runtime_error("missing " + id + " " + list_type + " in " + parent.list_type);
}

struct ExpectedClip {
  const char* name;
  std::vector<Image> frames;
};

class ClipAvi : public testing::TestWithParam<int> {
 protected:
  static ExpectedClip Expected(int which) {
    switch (which) {
      case 0:
        return {"RESAVI", tools::DrawCopyClip()};
      case 1:
        return {"DELAVI", tools::DrawDeleteClip()};
      default:
        return {"opening", tools::DrawOpeningMovie(tools::kOpeningFrames)};
    }
  }
  void SetUp() override {
    expected_ = Expected(GetParam());
    tools::ClipFrames clip{expected_.frames, tools::ClipPalette(), 10};
    file_ = tools::WriteRle8Avi(clip);
    const std::vector<Chunk> top = ReadChunks(file_, 0, file_.size());
    ASSERT_EQ(top.size(), 1u);
    riff_ = top[0];
  }
  int Width() const { return expected_.frames[0].width; }
  int Height() const { return expected_.frames[0].height; }
  std::uint32_t FrameCount() const { return static_cast<std::uint32_t>(expected_.frames.size()); }
  std::uint32_t LargestFrameChunk() const {
    std::uint32_t largest = 0;
    for (const Chunk& c : Child(riff_, "LIST", "movi").children) largest = std::max(largest, c.size);
    return largest;
  }

  ExpectedClip expected_;
  Bytes file_;
  Chunk riff_;
};

TEST_P(ClipAvi, IsOneRiffAviFileWithHeadersMovieAndIndexInOrder) {
  EXPECT_EQ(riff_.id, "RIFF");
  EXPECT_EQ(riff_.list_type, "AVI ");
  EXPECT_EQ(riff_.size + 8, file_.size());
  ASSERT_EQ(riff_.children.size(), 3u);
  EXPECT_EQ(riff_.children[0].list_type, "hdrl");
  EXPECT_EQ(riff_.children[1].list_type, "movi");
  EXPECT_EQ(riff_.children[2].id, "idx1");
}

TEST_P(ClipAvi, MainHeaderGivesTenFramesASecondWithIndex) {
  const Chunk& avih = Child(Child(riff_, "LIST", "hdrl"), "avih");
  ASSERT_EQ(avih.size, 56u);
  const std::size_t a = avih.data;
  EXPECT_EQ(U32At(file_, a + 0), 100000u);        // microseconds per frame
  EXPECT_NE(U32At(file_, a + 12) & 0x10, 0u);     // AVIF_HASINDEX
  EXPECT_EQ(U32At(file_, a + 16), FrameCount());  // total frames
  EXPECT_EQ(U32At(file_, a + 24), 1u);            // streams
  EXPECT_GE(U32At(file_, a + 28), LargestFrameChunk());
  EXPECT_EQ(U32At(file_, a + 32), static_cast<std::uint32_t>(Width()));
  EXPECT_EQ(U32At(file_, a + 36), static_cast<std::uint32_t>(Height()));
}

TEST_P(ClipAvi, StreamHeaderIsRle8VideoAtTenFramesASecond) {
  const Chunk& strl = Child(Child(riff_, "LIST", "hdrl"), "LIST", "strl");
  const Chunk& strh = Child(strl, "strh");
  ASSERT_EQ(strh.size, 56u);
  const std::size_t s = strh.data;
  EXPECT_EQ(FourCcAt(file_, s + 0), "vids");
  EXPECT_EQ(FourCcAt(file_, s + 4), "mrle");
  EXPECT_EQ(U32At(file_, s + 20), 1u);   // scale
  EXPECT_EQ(U32At(file_, s + 24), 10u);  // rate
  EXPECT_EQ(U32At(file_, s + 32), FrameCount());
  EXPECT_GE(U32At(file_, s + 36), LargestFrameChunk());
  EXPECT_EQ(U16At(file_, s + 52), Width());
  EXPECT_EQ(U16At(file_, s + 54), Height());

  const Chunk& strf = Child(strl, "strf");
  ASSERT_EQ(strf.size, 40u + 256u * 4u);
  const std::size_t f = strf.data;
  EXPECT_EQ(U32At(file_, f + 0), 40u);
  EXPECT_EQ(U32At(file_, f + 4), static_cast<std::uint32_t>(Width()));
  EXPECT_EQ(U32At(file_, f + 8), static_cast<std::uint32_t>(Height()));  // positive: bottom-up
  EXPECT_EQ(U16At(file_, f + 12), 1);                                    // planes
  EXPECT_EQ(U16At(file_, f + 14), 8);                                    // bits per pixel
  EXPECT_EQ(U32At(file_, f + 16), 1u);                                   // BI_RLE8
  const std::vector<tools::Rgb> palette = tools::ClipPalette();
  for (int i = 0; i < 256; ++i) {
    const std::size_t p = f + 40 + 4 * i;
    EXPECT_EQ(file_[p + 0], palette[i].blue) << i;
    EXPECT_EQ(file_[p + 1], palette[i].green) << i;
    EXPECT_EQ(file_[p + 2], palette[i].red) << i;
    EXPECT_EQ(file_[p + 3], 0) << i;
  }
}

TEST_P(ClipAvi, EveryFrameDecodesToThePictureDrawn) {
  const Chunk& movi = Child(riff_, "LIST", "movi");
  ASSERT_EQ(movi.children.size(), FrameCount());
  for (std::size_t n = 0; n < movi.children.size(); ++n) {
    const Chunk& frame = movi.children[n];
    ASSERT_EQ(frame.id, "00dc");
    const Bytes data(file_.begin() + frame.data, file_.begin() + frame.data + frame.size);
    try {
      EXPECT_EQ(DecodeKeyFrame(data, Width(), Height()), expected_.frames[n]) << expected_.name << " frame " << n;
    } catch (const std::exception& e) {
      ADD_FAILURE() << expected_.name << " frame " << n << ": " << e.what();
    }
  }
}

TEST_P(ClipAvi, IndexPointsAtEachKeyFrameFromTheMovieListType) {
  const Chunk& movi = Child(riff_, "LIST", "movi");
  const Chunk& idx1 = Child(riff_, "idx1");
  ASSERT_EQ(idx1.size, FrameCount() * 16);
  const std::size_t movi_type = movi.data;  // where 'movi' itself stands
  for (std::uint32_t n = 0; n < FrameCount(); ++n) {
    const std::size_t e = idx1.data + 16 * n;
    EXPECT_EQ(FourCcAt(file_, e), "00dc");
    EXPECT_EQ(U32At(file_, e + 4), 0x10u);  // AVIIF_KEYFRAME
    const std::size_t chunk = movi_type + U32At(file_, e + 8);
    EXPECT_EQ(chunk + 8, movi.children[n].data) << "frame " << n;
    EXPECT_EQ(U32At(file_, e + 12), movi.children[n].size) << "frame " << n;
  }
}

INSTANTIATE_TEST_SUITE_P(AllClips, ClipAvi, testing::Values(0, 1, 2));

TEST(ClipArt, ClipsHaveTheirFrameCountsAndSizes) {
  const auto copy = tools::DrawCopyClip();
  const auto remove = tools::DrawDeleteClip();
  ASSERT_EQ(copy.size(), 17u);
  ASSERT_EQ(remove.size(), 24u);
  for (const Image& frame : copy) EXPECT_TRUE(frame.width == 260 && frame.height == 40);
  for (const Image& frame : remove) EXPECT_TRUE(frame.width == 304 && frame.height == 60);
}

// A clip whose frames repeat shows no motion; each frame must differ from the one before.
TEST(ClipArt, EveryFrameMoves) {
  for (const auto& frames : {tools::DrawCopyClip(), tools::DrawDeleteClip(), tools::DrawOpeningMovie(25)}) {
    for (std::size_t n = 1; n < frames.size(); ++n) EXPECT_FALSE(frames[n] == frames[n - 1]) << "frame " << n;
  }
}

TEST(ClipArt, OpeningMovieStretchesToTheFramesAsked) {
  const auto longer = tools::DrawOpeningMovie(60);
  ASSERT_EQ(longer.size(), 60u);
  EXPECT_EQ(longer.front(), tools::DrawOpeningMovie(25).front());
  EXPECT_EQ(longer.back(), tools::DrawOpeningMovie(25).back());
  EXPECT_THROW(tools::DrawOpeningMovie(1), std::invalid_argument);
}

TEST(ClipWriter, RefusesClipsItCannotDescribe) {
  tools::ClipFrames none{{}, tools::ClipPalette(), 10};
  EXPECT_THROW(tools::WriteRle8Avi(none), std::invalid_argument);
  tools::ClipFrames mixed{{Image(4, 4, 0), Image(4, 5, 0)}, tools::ClipPalette(), 10};
  EXPECT_THROW(tools::WriteRle8Avi(mixed), std::invalid_argument);
  tools::ClipFrames short_palette{{Image(4, 4, 0)}, tools::StandardPalette16(), 10};
  EXPECT_THROW(tools::WriteRle8Avi(short_palette), std::invalid_argument);
}

}  // namespace
