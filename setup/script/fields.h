// NextField: the splitting of list lines into fields at a delimiter character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace setup {

// Returns the field that starts at the 1-based position and advances position past the
// delimiter (or to the length plus 2 at the end of the line). Fields are not trimmed; a used-up
// line yields the empty field for every further call.
std::string NextField(std::string_view line, char delimiter, std::size_t& position);

}  // namespace setup
