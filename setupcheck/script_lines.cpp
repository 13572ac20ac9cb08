// Splitting the script into numbered lines with the reader's own line rules (setup/script/ini_lines.h).
#include "setupcheck/script_lines.h"

#include <algorithm>

#include "setup/script/ini_lines.h"
#include "setup/script/text.h"

namespace setupcheck {

namespace {

using setup::IniLine;
using setup::ToUpperAscii;

ScriptLine Classify(std::string_view raw, int number, int section) {
  ScriptLine line;
  line.number = number;
  line.section = section;
  const std::string_view text = setup::TrimControls(raw);
  line.text = std::string(text);
  if (text.empty()) {
    line.kind = LineKind::Blank;
  } else if (!setup::IsKeptLine(text)) {
    line.kind = LineKind::Comment;
  } else {
    const IniLine parts = setup::ClassifyIniLine(text);
    line.kind = parts.kind == IniLine::Kind::Section ? LineKind::SectionHeader
                : parts.kind == IniLine::Kind::Entry ? LineKind::Entry
                                                     : LineKind::Text;
    if (line.kind != LineKind::Text) line.name = std::string(parts.name);
    line.value = std::string(parts.value);
  }
  return line;
}

}  // namespace

ScriptLines ScriptLines::Scan(std::string_view text) {
  ScriptLines script;
  int number = 0;
  setup::ForEachLine(text, [&](std::string_view raw) {
    ScriptLine line = Classify(raw, ++number, static_cast<int>(script.sections_.size()) - 1);
    if (line.kind == LineKind::SectionHeader) {
      script.sections_.push_back(ScriptSection{line.name, number, {}, {}});
      line.section = static_cast<int>(script.sections_.size()) - 1;
    } else if (line.kind == LineKind::Entry && line.section >= 0) {
      ScriptSection& section = script.sections_[line.section];
      section.entries.push_back(script.lines_.size());
      section.lastOf[ToUpperAscii(line.name)] = script.lines_.size();
    }
    script.lines_.push_back(std::move(line));
  });
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) {
    // The NUL lies on the last line read, or on the next one when the text before it ends a line.
    const bool endsLine = nul == 0 || text[nul - 1] == '\r' || text[nul - 1] == '\n';
    script.nulLine_ = number + (endsLine ? 1 : 0);
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
