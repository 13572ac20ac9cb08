// Build-time generator of the programs' icon files: make_icon <launcher.ico> <setup.ico>
#include <cstdio>

#include "tools/file_output.h"
#include "tools/icon_writer.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_icon <launcher.ico> <setup.ico>\n");
    return 2;
  }
  const bool written = tools::WriteWholeFile(argv[1], tools::WriteIcon16(tools::DrawLauncherIcon())) &&
                       tools::WriteWholeFile(argv[2], tools::WriteIcon16(tools::DrawSetupIcon()));
  return written ? 0 : 1;
}
