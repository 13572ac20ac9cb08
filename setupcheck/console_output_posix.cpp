// Standard output on a POSIX host takes the UTF-8 bytes as they are.
#include <cstdio>

#include "setupcheck/console_output.h"

namespace setupcheck {

void WriteOutput(const std::string& utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fflush(stdout);
}

}  // namespace setupcheck
