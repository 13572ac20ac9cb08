// Build-time generator of the launcher's icon file: make_icon <file.ico>
#include <cstdio>

#include "tools/file_output.h"
#include "tools/icon_writer.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icon <file.ico>\n");
    return 2;
  }
  return tools::WriteWholeFile(argv[1], tools::WriteIcon16(tools::DrawLauncherIcon())) ? 0 : 1;
}
