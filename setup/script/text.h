// Small helpers for 8-bit ANSI text: trimming and ASCII letter case (paths: paths.h).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace setup {

// Removes characters with codes 0 to 32 at both ends. Inline: every line of a script passes here.
inline std::string_view TrimControls(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= 32) ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32) --end;
  return text.substr(begin, end - begin);
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
std::string ToUpperAscii(std::string_view text);

}  // namespace setup
