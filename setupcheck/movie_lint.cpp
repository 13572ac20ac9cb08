// Reading the headers of d.avi: the RIFF chunks down to the main header (avih) and the video
// stream's format (strf, a BITMAPINFOHEADER). The decoders every Windows from 95 to 11 ships are
// few: uncompressed frames, Microsoft RLE and Microsoft Video 1. Indeo and the rest came with
// some versions only, or never.
#include "setupcheck/movie_lint.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "setup/platform/platform.h"
#include "setup/script/text.h"

namespace setupcheck {

namespace {

constexpr char kMovieName[] = "d.avi";
// The headers come first in the file, before the frames; a movie can be hundreds of megabytes,
// more than a 32-bit setupcheck.exe can hold at once.
constexpr std::size_t kHeadBytes = 1 << 20;
constexpr std::uint32_t kWindowWidth = 640;
constexpr std::uint32_t kWindowHeight = 480;

struct MovieFormat {
  std::uint32_t width = 0;  // the frame size of the main header
  std::uint32_t height = 0;
  std::uint32_t compression = 0;  // the video stream's biCompression: 0, 1, 2 or a FOURCC
};

std::uint32_t Little32(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

constexpr std::uint32_t FourCc(const char (&text)[5]) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(text[0])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(text[1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(text[2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(text[3])) << 24;
}

bool ShippedEverywhere(std::uint32_t compression) {
  if (compression <= 2) return true;  // BI_RGB, BI_RLE8, BI_RLE4
  std::uint32_t upper = compression;
  for (int shift = 0; shift < 32; shift += 8) {
    const std::uint32_t byte = (upper >> shift) & 0xFF;
    if (byte >= 'a' && byte <= 'z') upper &= ~(0x20u << shift);
  }
  return upper == FourCc("MRLE") || upper == FourCc("MSVC") || upper == FourCc("CRAM");
}

std::string CodecName(std::uint32_t compression) {
  std::string name;
  for (int shift = 0; shift < 32; shift += 8) {
    const char c = static_cast<char>((compression >> shift) & 0xFF);
    name += c >= 0x20 && c < 0x7F ? c : '?';
  }
  return name;
}

// Walks the chunks in [begin, end), entering the header list and its stream lists (two levels, so
// a file of nested lists cannot run the walk deep); fills what it finds. A list that runs past the
// bytes read is walked as far as they go.
void ScanChunks(std::string_view bytes, std::size_t begin, std::size_t end, int depth, MovieFormat& format, bool& video,
                bool& haveHeader, bool& haveVideo) {
  for (std::size_t at = begin; at + 8 <= end;) {
    const std::uint32_t id = Little32(bytes, at);
    const std::size_t size = Little32(bytes, at + 4);
    const std::size_t data = at + 8;
    const std::size_t available = end - data;
    const bool whole = size <= available;
    if (id == FourCc("LIST") && size >= 4 && available >= 4) {
      const std::uint32_t type = Little32(bytes, data);
      if (depth < 2 && (type == FourCc("hdrl") || type == FourCc("strl"))) {
        video = false;
        ScanChunks(bytes, data + 4, data + std::min(size, available), depth + 1, format, video, haveHeader, haveVideo);
      }
    } else if (!whole) {
      return;
    } else if (id == FourCc("avih") && size >= 40) {
      format.width = Little32(bytes, data + 32);
      format.height = Little32(bytes, data + 36);
      haveHeader = true;
    } else if (id == FourCc("strh") && size >= 4) {
      video = Little32(bytes, data) == FourCc("vids");
    } else if (id == FourCc("strf") && video && !haveVideo && size >= 20) {
      format.compression = Little32(bytes, data + 16);
      haveVideo = true;
    }
    if (!whole) return;
    at = data + size + (size & 1);
  }
}

// The format of a RIFF AVI file; nothing when the bytes are no AVI with a video stream.
std::optional<MovieFormat> ReadMovieFormat(std::string_view bytes) {
  if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "AVI ") return std::nullopt;
  MovieFormat format;
  bool video = false, haveHeader = false, haveVideo = false;
  ScanChunks(bytes, 12, bytes.size(), 0, format, video, haveHeader, haveVideo);
  if (!haveHeader || !haveVideo) return std::nullopt;
  return format;
}

}  // namespace

void CheckMovie(const CdFolder& cd, Findings& findings) {
  for (const CdEntry& entry : cd.entries) {
    if ((entry.attributes & setup::kAttrDirectory) != 0 || !setup::EqualsIgnoringAsciiCase(entry.path, kMovieName))
      continue;
    const std::optional<std::string> bytes =
        entry.diskPath.empty() ? std::nullopt : ReadDiskFile(entry.diskPath, kHeadBytes);
    if (!bytes) return;
    const std::optional<MovieFormat> format = ReadMovieFormat(*bytes);
    if (!format) {
      findings.Warn(0, "", TextId::MovieNotAvi);
      return;
    }
    if (!ShippedEverywhere(format->compression)) {
      findings.Warn(0, "", TextId::MovieCodec, {CodecName(format->compression)});
    }
    if (format->width > kWindowWidth || format->height > kWindowHeight) {
      findings.Warn(0, "", TextId::MovieTooLarge, {std::to_string(format->width), std::to_string(format->height)});
    }
    return;
  }
}

}  // namespace setupcheck
