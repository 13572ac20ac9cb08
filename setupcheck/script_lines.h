// The setup script's lines as the installer's reader splits, trims and groups them, each with the
// line number an author sees in an editor, so that a finding can point at the line that causes it.
//
// The reader keeps no line numbers, so this scanner walks the text with the reader's own line
// rules (setup/script/ini_lines.h) and keeps every line, blank lines and comments included.
// Names compare without regard to ASCII letter case, and the last section of a name and the last
// entry of a key win, as in the reader.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace setupcheck {

enum class LineKind { Blank, Comment, SectionHeader, Entry, Text };

struct ScriptLine {
  int number = 0;    // 1-based
  std::string text;  // trimmed
  LineKind kind = LineKind::Blank;
  std::string name;   // the section's name for a header, the key for an entry (trimmed)
  std::string value;  // an entry's value (trimmed)
  int section = -1;   // the section the line lies in; -1 before the first header
};

struct ScriptSection {
  std::string name;
  int headerLine = 0;
  std::vector<std::size_t> entries;                     // indices into lines(), in file order
  std::unordered_map<std::string, std::size_t> lastOf;  // upper-cased key -> its last entry
};

class ScriptLines {
 public:
  static ScriptLines Scan(std::string_view text);

  const std::vector<ScriptLine>& lines() const { return lines_; }
  const std::vector<ScriptSection>& sections() const { return sections_; }
  // The line that holds the first NUL byte (nothing after it is read); 0 when there is none.
  int nulLine() const { return nulLine_; }

  // The section the reader takes for a name: the last one so named; nullptr when there is none.
  const ScriptSection* Visible(std::string_view name) const;
  // The entry the reader finds for a key in a section (its last occurrence); nullptr when none.
  const ScriptLine* Find(const ScriptSection& section, std::string_view key) const;

 private:
  std::vector<ScriptLine> lines_;
  std::vector<ScriptSection> sections_;
  int nulLine_ = 0;
};

}  // namespace setupcheck
