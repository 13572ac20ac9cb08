// Guessing which known key a misspelt one was meant to be.
#pragma once

#include <string>
#include <string_view>

namespace setupcheck {

// A known key (setting or list key) that an unknown key is likely a misspelling of, or empty.
// A list key keeps its number: "COPPY3" suggests "COPY3".
std::string SuggestKey(std::string_view unknownKey);

}  // namespace setupcheck
