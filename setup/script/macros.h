// ExpandMacros: the macro characters of script values.
//   "#" Windows drive letter, "@" source root (a ":" after it is dropped under a UNC start),
//   "$" destination folder, "^" Windows folder, "~" short form of the destination folder.
#pragma once

#include <string>
#include <string_view>

#include "setup/platform/platform.h"
#include "setup/script/setup_script.h"

namespace setup {

// Inserted text is not examined again. Double-byte characters are copied whole, so a trail
// byte with the code of a macro character is never taken for one.
std::string ExpandMacros(const SetupScript& script, Platform& platform, std::string_view value);

// The position of the first macro character at or after from, stepping over double-byte
// characters as the expansion does; npos when there is none.
std::size_t NextMacro(std::string_view value, std::size_t from, System& system);

}  // namespace setup
