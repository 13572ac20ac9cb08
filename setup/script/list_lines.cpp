// Splitting COPY, REG and START lines into their fields.
#include "setup/script/list_lines.h"

#include <algorithm>

#include "setup/script/fields.h"
#include "setup/script/text.h"

namespace setup {

namespace {

// Whether the line holds more than three comma-separated fields, the most any list reads.
bool HasTextAfterThreeFields(std::string_view line) { return std::count(line.begin(), line.end(), ',') >= 3; }

}  // namespace

CopyLine ParseCopyLine(std::string_view line) {
  CopyLine copy;
  std::size_t position = 1;
  copy.source = NextField(line, ',', position);
  copy.destination = NextField(line, ',', position);
  copy.pc9821Source = NextField(line, ',', position);
  copy.textAfterFields = HasTextAfterThreeFields(line);
  return copy;
}

RegLine ParseRegLine(std::string_view line) {
  RegLine reg;
  std::size_t position = 1;
  reg.keywordText = NextField(line, ',', position);
  if (EqualsIgnoringAsciiCase(reg.keywordText, "open")) {
    reg.keyword = RegKeyword::Open;
    reg.root = NextField(line, '\\', position);
    reg.keyPath = NextField(line, ',', position);
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

StartLine ParseStartLine(std::string_view line) {
  StartLine start;
  std::size_t position = 1;
  start.target = NextField(line, ',', position);
  start.name = NextField(line, ',', position);
  start.folder = NextField(line, ',', position);
  start.textAfterFields = HasTextAfterThreeFields(line);
  return start;
}

}  // namespace setup
