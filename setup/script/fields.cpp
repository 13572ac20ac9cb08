// Field splitting for COPY, REG, START lines and registry paths.
#include "setup/script/fields.h"

namespace setup {

std::string NextField(std::string_view line, char delimiter, std::size_t& position) {
  if (position == 0 || position > line.size()) return std::string();
  const std::size_t start = position - 1;
  const std::size_t end = line.find(delimiter, start);
  if (end == std::string_view::npos) {
    position = line.size() + 2;
    return std::string(line.substr(start));
  }
  position = end + 2;
  return std::string(line.substr(start, end - start));
}

}  // namespace setup
