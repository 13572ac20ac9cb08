// AVI container writer: RIFF 'AVI ' with the main header, one video stream header with its
// BITMAPINFOHEADER and palette, the frames as '00dc' chunks, and the 'idx1' index.
#include "tools/avi_writer.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "tools/rle8.h"

namespace tools {
namespace {

constexpr std::uint32_t kAvifHasIndex = 0x10;
constexpr std::uint32_t kAviifKeyFrame = 0x10;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kMainHeaderSize = 56;
constexpr std::uint32_t kStreamHeaderSize = 56;
constexpr std::uint32_t kBitmapInfoHeaderSize = 40;

class Writer {
 public:
  std::vector<std::uint8_t> bytes;

  void U16(std::uint32_t v) {
    bytes.push_back(static_cast<std::uint8_t>(v));
    bytes.push_back(static_cast<std::uint8_t>(v >> 8));
  }
  void U32(std::uint32_t v) {
    U16(v & 0xFFFF);
    U16(v >> 16);
  }
  void FourCc(const char* code) { bytes.insert(bytes.end(), code, code + 4); }

  // Opens a chunk (or a list when list_type is given) and returns where its size goes.
  std::size_t Open(const char* id, const char* list_type = nullptr) {
    FourCc(id);
    const std::size_t size_at = bytes.size();
    U32(0);
    if (list_type) FourCc(list_type);
    return size_at;
  }
  // Fills in the size and pads the chunk to an even length (the pad is not counted).
  void Close(std::size_t size_at) {
    const std::size_t size = bytes.size() - size_at - 4;
    for (int i = 0; i < 4; ++i) bytes[size_at + i] = static_cast<std::uint8_t>(size >> (8 * i));
    if (size % 2 != 0) bytes.push_back(0);
  }
};

struct Encoded {
  std::vector<std::vector<std::uint8_t>> frames;
  std::uint32_t largest = 0;
};

Encoded EncodeFrames(const ClipFrames& clip) {
  if (clip.frames.empty()) throw std::invalid_argument("a clip needs at least one frame");
  if (clip.palette.size() != 256) throw std::invalid_argument("a clip needs a 256-entry palette");
  Encoded encoded;
  for (const Image& frame : clip.frames) {
    if (frame.width != clip.frames[0].width || frame.height != clip.frames[0].height) {
      throw std::invalid_argument("all frames of a clip must have the same size");
    }
    encoded.frames.push_back(EncodeRle8(frame));
    encoded.largest = std::max(encoded.largest, static_cast<std::uint32_t>(encoded.frames.back().size()));
  }
  encoded.largest += encoded.largest % 2;
  return encoded;
}

void WriteMainHeader(Writer& w, const ClipFrames& clip, const Encoded& encoded) {
  const std::size_t at = w.Open("avih");
  w.U32(1000000 / clip.frames_per_second);          // microseconds per frame
  w.U32(encoded.largest * clip.frames_per_second);  // maximum bytes per second
  w.U32(0);                                         // padding granularity
  w.U32(kAvifHasIndex);
  w.U32(static_cast<std::uint32_t>(clip.frames.size()));  // total frames
  w.U32(0);                                               // initial frames
  w.U32(1);                                               // streams
  w.U32(encoded.largest);                                 // suggested buffer size
  w.U32(clip.frames[0].width);
  w.U32(clip.frames[0].height);
  for (int i = 0; i < 4; ++i) w.U32(0);
  w.Close(at);
  if (w.bytes.size() - at - 4 != kMainHeaderSize) throw std::logic_error("main header size");
}

void WriteStreamHeader(Writer& w, const ClipFrames& clip, const Encoded& encoded) {
  const std::size_t at = w.Open("strh");
  w.FourCc("vids");
  w.FourCc("mrle");
  w.U32(0);                                               // flags
  w.U16(0);                                               // priority
  w.U16(0);                                               // language
  w.U32(0);                                               // initial frames
  w.U32(1);                                               // scale
  w.U32(clip.frames_per_second);                          // rate: rate / scale frames per second
  w.U32(0);                                               // start
  w.U32(static_cast<std::uint32_t>(clip.frames.size()));  // length in frames
  w.U32(encoded.largest);                                 // suggested buffer size
  w.U32(0xFFFFFFFF);                                      // quality: default
  w.U32(0);                                               // sample size: varies
  w.U16(0);                                               // frame rectangle
  w.U16(0);
  w.U16(clip.frames[0].width);
  w.U16(clip.frames[0].height);
  w.Close(at);
  if (w.bytes.size() - at - 4 != kStreamHeaderSize) throw std::logic_error("stream header size");
}

void WriteStreamFormat(Writer& w, const ClipFrames& clip, const Encoded& encoded) {
  const std::size_t at = w.Open("strf");
  w.U32(kBitmapInfoHeaderSize);
  w.U32(clip.frames[0].width);
  w.U32(clip.frames[0].height);  // positive: rows bottom-up
  w.U16(1);                      // planes
  w.U16(8);                      // bits per pixel
  w.U32(kBiRle8);
  w.U32(encoded.largest);  // image size
  w.U32(0);                // pixels per metre
  w.U32(0);
  w.U32(256);  // colours used
  w.U32(0);    // colours important: all
  for (const Rgb& c : clip.palette) {
    w.bytes.push_back(c.blue);
    w.bytes.push_back(c.green);
    w.bytes.push_back(c.red);
    w.bytes.push_back(0);
  }
  w.Close(at);
}

// Returns each frame chunk's offset counted from the 'movi' list type.
std::vector<std::uint32_t> WriteMovie(Writer& w, const Encoded& encoded) {
  const std::size_t at = w.Open("LIST", "movi");
  const std::size_t movi_type_at = at + 4;
  std::vector<std::uint32_t> offsets;
  for (const auto& frame : encoded.frames) {
    offsets.push_back(static_cast<std::uint32_t>(w.bytes.size() - movi_type_at));
    const std::size_t chunk = w.Open("00dc");
    w.bytes.insert(w.bytes.end(), frame.begin(), frame.end());
    w.Close(chunk);
  }
  w.Close(at);
  return offsets;
}

void WriteIndex(Writer& w, const Encoded& encoded, const std::vector<std::uint32_t>& offsets) {
  const std::size_t at = w.Open("idx1");
  for (std::size_t i = 0; i < encoded.frames.size(); ++i) {
    w.FourCc("00dc");
    w.U32(kAviifKeyFrame);
    w.U32(offsets[i]);
    w.U32(static_cast<std::uint32_t>(encoded.frames[i].size()));
  }
  w.Close(at);
}

}  // namespace

std::vector<std::uint8_t> WriteRle8Avi(const ClipFrames& clip) {
  const Encoded encoded = EncodeFrames(clip);
  Writer w;
  const std::size_t riff = w.Open("RIFF", "AVI ");
  const std::size_t header_list = w.Open("LIST", "hdrl");
  WriteMainHeader(w, clip, encoded);
  const std::size_t stream_list = w.Open("LIST", "strl");
  WriteStreamHeader(w, clip, encoded);
  WriteStreamFormat(w, clip, encoded);
  w.Close(stream_list);
  w.Close(header_list);
  const std::vector<std::uint32_t> offsets = WriteMovie(w, encoded);
  WriteIndex(w, encoded, offsets);
  w.Close(riff);
  return w.bytes;
}

}  // namespace tools
