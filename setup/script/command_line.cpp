// Command-line splitting for the uninstall record's path.
#include "setup/script/command_line.h"

namespace setup {

namespace {

bool IsSeparator(char c) { return c != '\0' && static_cast<unsigned char>(c) <= ' '; }

// Reads one argument starting at position (after leading blanks); advances position.
std::string NextArgument(std::string_view line, std::size_t& position) {
  while (position < line.size() && IsSeparator(line[position])) ++position;
  std::string argument;
  bool quoted = false;
  while (position < line.size()) {
    const char c = line[position];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && IsSeparator(c)) {
      break;
    } else {
      argument += c;
    }
    ++position;
  }
  return argument;
}

}  // namespace

std::string FirstArgument(std::string_view commandLine) {
  std::size_t position = 0;
  NextArgument(commandLine, position);  // the program itself
  return NextArgument(commandLine, position);
}

}  // namespace setup
