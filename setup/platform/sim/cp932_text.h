// Code page 932 (Shift-JIS) text converted to UTF-8, the simulated machine's ANSI code page.
#pragma once

#include <optional>
#include <string>

namespace setup {

// Nothing when the bytes are not valid code page 932 or the conversion is not available.
std::optional<std::string> Cp932ToUtf8(const std::string& ansi);

}  // namespace setup
