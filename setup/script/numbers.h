// Conversion of script text to integers: signed decimal, or hexadecimal after "$" or "0x".
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace setup {

// Nothing when the text is not a valid 32-bit number. Hexadecimal ("$" or "0x" first, no sign)
// takes the full 32 bits ("$FFFFFFFF" is -1); decimal, with an optional sign, must fit a signed
// 32-bit value.
std::optional<std::int32_t> ParseInteger(std::string_view text);

}  // namespace setup
