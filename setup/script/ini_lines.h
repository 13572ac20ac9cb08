// The line rules of the INI format, shared by the reader (IniDocument) and the one-pass updater
// (IniSectionUpdate), so that both see the same sections, keys and values in a text.
//
// Lines end at CR, LF or CR LF; a NUL ends the text. Each line is trimmed of codes 0-32; empty
// lines and ";" comments are dropped; "[name]" opens a section; any other line is an entry when
// it holds "=" (key and value trimmed apart) and plain text otherwise.
#pragma once

#include <cstring>
#include <string_view>

#include "setup/script/text.h"

namespace setup {

struct IniLine {
  enum class Kind { Section, Entry, Text };
  Kind kind = Kind::Text;
  std::string_view name;   // the section's name, the entry's key, or the whole text
  std::string_view value;  // an entry's value
};

// Whether a kept, trimmed line opens a section.
inline bool IsSectionLine(std::string_view line) {
  return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

// Splits a kept, trimmed line into its kind and parts.
inline IniLine ClassifyIniLine(std::string_view line) {
  if (IsSectionLine(line)) return IniLine{IniLine::Kind::Section, TrimControls(line.substr(1, line.size() - 2)), {}};
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return IniLine{IniLine::Kind::Text, line, {}};
  return IniLine{IniLine::Kind::Entry, TrimControls(line.substr(0, equals)), TrimControls(line.substr(equals + 1))};
}

// Calls visit(line) with every line of the text before its first NUL, untrimmed, in order. Line
// ends are found with memchr: lists of a hundred thousand lines make this the reader's inner loop.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  const char* const end = text.data() + text.size();
  const char* nextLf = nullptr;
  const char* nextCr = nullptr;
  for (const char* start = text.data(); start < end;) {
    if (nextLf == nullptr || nextLf < start) {
      nextLf = static_cast<const char*>(std::memchr(start, '\n', static_cast<std::size_t>(end - start)));
      if (nextLf == nullptr) nextLf = end;
    }
    if (nextCr == nullptr || nextCr < start) {
      nextCr = static_cast<const char*>(std::memchr(start, '\r', static_cast<std::size_t>(end - start)));
      if (nextCr == nullptr) nextCr = end;
    }
    const char* lineEnd = nextCr < nextLf ? nextCr : nextLf;
    visit(std::string_view(start, static_cast<std::size_t>(lineEnd - start)));
    start = (lineEnd < end && *lineEnd == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n') ? lineEnd + 2 : lineEnd + 1;
  }
}

// Whether a trimmed line is read at all: empty lines and ";" comments are not.
inline bool IsKeptLine(std::string_view trimmed) { return !trimmed.empty() && trimmed[0] != ';'; }

// Calls visit(line) with every line, trimmed, that is neither empty nor a comment, in order.
template <typename Visit>
void ForEachKeptLine(std::string_view text, Visit visit) {
  ForEachLine(text, [&](std::string_view raw) {
    const std::string_view line = TrimControls(raw);
    if (IsKeptLine(line)) visit(line);
  });
}

// Calls visit(IniLine) for every kept line, in order.
template <typename Visit>
void ForEachIniLine(std::string_view text, Visit visit) {
  ForEachKeptLine(text, [&](std::string_view line) { visit(ClassifyIniLine(line)); });
}

}  // namespace setup
