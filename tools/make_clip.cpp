// Build-time generator of our AVI clips.
//   make_clip <folder>                  writes resavi.avi, delavi.avi and d.avi into folder
//   make_clip --opening <file> <frames> writes only an opening movie of that many frames
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/avi_writer.h"
#include "tools/clip_art.h"
#include "tools/file_output.h"

namespace {

bool WriteClip(const std::string& path, std::vector<tools::Image> frames) {
  tools::ClipFrames clip;
  clip.frames = std::move(frames);
  clip.palette = tools::ClipPalette();
  return tools::WriteWholeFile(path, tools::WriteRle8Avi(clip));
}

int Usage() {
  std::fprintf(stderr, "usage: make_clip <folder>\n       make_clip --opening <file> <frames>\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--opening") == 0) {
    const int frames = std::atoi(argv[3]);
    if (frames < 2) return Usage();
    return WriteClip(argv[2], tools::DrawOpeningMovie(frames)) ? 0 : 1;
  }
  if (argc != 2) return Usage();
  const std::string folder = argv[1];
  const bool ok = WriteClip(folder + "/resavi.avi", tools::DrawCopyClip()) &&
                  WriteClip(folder + "/delavi.avi", tools::DrawDeleteClip()) &&
                  WriteClip(folder + "/d.avi", tools::DrawOpeningMovie(tools::kOpeningFrames));
  return ok ? 0 : 1;
}
