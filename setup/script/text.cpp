// Text helpers shared by the script reader and the steps.
#include "setup/script/text.h"

#include "setup/platform/platform.h"

namespace setup {

namespace {
bool IsControlOrBlank(char c) { return static_cast<unsigned char>(c) <= 32; }
char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

std::string_view TrimControls(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsControlOrBlank(text[begin])) ++begin;
  while (end > begin && IsControlOrBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

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
