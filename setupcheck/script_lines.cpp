// Splitting the script into numbered lines with the reader's trimming and section rules.
#include "setupcheck/script_lines.h"

#include <algorithm>

#include "setup/script/text.h"

namespace setupcheck {

namespace {

using setup::ToUpperAscii;
using setup::TrimControls;

ScriptLine Classify(std::string_view raw, int number, int section) {
  ScriptLine line;
  line.number = number;
  line.section = section;
  const std::string_view text = TrimControls(raw);
  line.text = std::string(text);
  if (text.empty()) {
    line.kind = LineKind::Blank;
  } else if (text[0] == ';') {
    line.kind = LineKind::Comment;
  } else if (text.size() >= 2 && text.front() == '[' && text.back() == ']') {
    line.kind = LineKind::SectionHeader;
    line.name = std::string(TrimControls(text.substr(1, text.size() - 2)));
  } else if (const std::size_t equals = text.find('='); equals != std::string_view::npos) {
    line.kind = LineKind::Entry;
    line.name = std::string(TrimControls(text.substr(0, equals)));
    line.value = std::string(TrimControls(text.substr(equals + 1)));
  } else {
    line.kind = LineKind::Text;
  }
  return line;
}

}  // namespace

ScriptLines ScriptLines::Scan(std::string_view text) {
  ScriptLines script;
  const std::size_t nul = text.find('\0');
  const std::string_view readable = text.substr(0, nul);
  int number = 1;
  std::size_t start = 0;
  while (start < readable.size()) {
    std::size_t end = readable.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = readable.size();
    ScriptLine line =
        Classify(readable.substr(start, end - start), number, static_cast<int>(script.sections_.size()) - 1);
    if (line.kind == LineKind::SectionHeader) {
      script.sections_.push_back(ScriptSection{line.name, number, {}, {}});
      line.section = static_cast<int>(script.sections_.size()) - 1;
    } else if (line.kind == LineKind::Entry && line.section >= 0) {
      ScriptSection& section = script.sections_[line.section];
      section.entries.push_back(script.lines_.size());
      section.lastOf[ToUpperAscii(line.name)] = script.lines_.size();
    }
    script.lines_.push_back(std::move(line));
    if (end == readable.size()) break;
    start = (readable[end] == '\r' && end + 1 < readable.size() && readable[end + 1] == '\n') ? end + 2 : end + 1;
    ++number;
  }
  if (nul != std::string_view::npos) {
    const std::string_view before = text.substr(0, nul);
    // The NUL lies on the line after the last break before it; CR LF counts as one break.
    int breaks = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
      if (before[i] == '\n' || (before[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) ++breaks;
    }
    script.nulLine_ = breaks + 1;
  }
  return script;
}

const ScriptSection* ScriptLines::Visible(std::string_view name) const {
  const std::string upper = ToUpperAscii(name);
  const auto found = std::find_if(sections_.rbegin(), sections_.rend(),
                                  [&](const ScriptSection& s) { return ToUpperAscii(s.name) == upper; });
  return found == sections_.rend() ? nullptr : &*found;
}

const ScriptLine* ScriptLines::Find(const ScriptSection& section, std::string_view key) const {
  const auto found = section.lastOf.find(ToUpperAscii(key));
  return found == section.lastOf.end() ? nullptr : &lines_[found->second];
}

}  // namespace setupcheck
