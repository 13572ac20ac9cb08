// The uninstaller's one argument: the first argument after the program name.
#pragma once

#include <string>
#include <string_view>

namespace setup {

// Arguments are separated by blanks; double quotes group blanks into an argument and are
// removed. Empty when there is no argument.
std::string FirstArgument(std::string_view commandLine);

}  // namespace setup
