// Whole-file output for the generators.
#include "tools/file_output.h"

#include <cstdio>

namespace tools {

bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    std::perror(path.c_str());
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) std::fprintf(stderr, "%s: could not write the whole file\n", path.c_str());
  return written && closed;
}

}  // namespace tools
