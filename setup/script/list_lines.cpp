// Splitting COPY, REG and START lines into their fields.
#include "setup/script/list_lines.h"

#include <algorithm>
#include <utility>

#include "setup/script/fields.h"
#include "setup/script/text.h"

namespace setup {

namespace {

// Whether the line holds more than three comma-separated fields, the most any list reads.
bool HasTextAfterThreeFields(std::string_view line) { return std::count(line.begin(), line.end(), ',') >= 3; }

// The three fields of a COPY or START line, into the members given.
template <typename Line>
Line SplitThreeFields(std::string_view text, std::string Line::*first, std::string Line::*second,
                      std::string Line::*third) {
  Line line;
  std::size_t position = 1;
  line.*first = NextField(text, ',', position);
  line.*second = NextField(text, ',', position);
  line.*third = NextField(text, ',', position);
  line.textAfterFields = HasTextAfterThreeFields(text);
  return line;
}

}  // namespace

CopyLine ParseCopyLine(std::string_view line) {
  return SplitThreeFields(line, &CopyLine::source, &CopyLine::destination, &CopyLine::pc9821Source);
}

RegLine ParseRegLine(std::string_view line) {
  RegLine reg;
  std::size_t position = 1;
  reg.keywordText = NextField(line, ',', position);
  if (EqualsIgnoringAsciiCase(reg.keywordText, "open")) {
    reg.keyword = RegKeyword::Open;
    RecordedKey key = ParseRecordedKey(line.substr(std::min(position - 1, line.size())));
    reg.root = std::move(key.root);
    reg.keyPath = std::move(key.keyPath);
    return reg;
  }
  if (EqualsIgnoringAsciiCase(reg.keywordText, "string")) reg.keyword = RegKeyword::String;
  if (EqualsIgnoringAsciiCase(reg.keywordText, "long")) reg.keyword = RegKeyword::Long;
  if (reg.keyword == RegKeyword::Unknown) return reg;
  reg.name = NextField(line, ',', position);
  reg.value = NextField(line, ',', position);
  reg.textAfterFields = HasTextAfterThreeFields(line);
  return reg;
}

RecordedKey ParseRecordedKey(std::string_view entry) {
  RecordedKey key;
  std::size_t position = 1;
  key.root = NextField(entry, '\\', position);
  key.keyPath = NextField(entry, ',', position);
  return key;
}

StartLine ParseStartLine(std::string_view line) {
  return SplitThreeFields(line, &StartLine::target, &StartLine::name, &StartLine::folder);
}

}  // namespace setup
