// Text helpers shared by the script reader and the steps.
#include "setup/script/text.h"

#include "setup/platform/platform.h"

namespace setup {

namespace {
char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  }
  return true;
}

std::string ToUpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = UpperAscii(c);
  return upper;
}

std::size_t LastSeparator(std::string_view text, System& system, bool alsoColon) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\' || (alsoColon && c == ':')) {
      found = i;
    } else if (system.IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < text.size()) {
      ++i;
    }
  }
  return found;
}

}  // namespace setup
