// Structure checks: which parts of the file the installer never sees.
#include "setup/script/text.h"
#include "setupcheck/script_lint.h"

namespace setupcheck {

namespace {

using setup::EqualsIgnoringAsciiCase;
using setup::ToUpperAscii;
using setup::TrimControls;

constexpr char kSetup[] = "SETUP";
constexpr char kSetupHeader[] = "[SETUP]";
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// "xyz[SETUP]": a header the reader does not recognise because other text stands before it.
bool IsHiddenSetupHeader(const ScriptLine& line) {
  if (line.kind == LineKind::SectionHeader || line.text.empty() || line.text.back() != ']') return false;
  const std::size_t open = line.text.rfind('[');
  if (open == std::string::npos || open == 0) return false;
  const std::string_view inside = std::string_view(line.text).substr(open + 1, line.text.size() - open - 2);
  return EqualsIgnoringAsciiCase(TrimControls(inside), kSetup);
}

void CheckHiddenHeaders(const ScriptCheck& check) {
  for (const ScriptLine& line : check.lines.lines()) {
    if (!IsHiddenSetupHeader(line)) continue;
    const bool bom = line.text.rfind(kByteOrderMark, 0) == 0;
    check.findings.Warn(line.number, kSetupHeader, bom ? TextId::MarkBeforeHeader : TextId::TextBeforeHeader);
  }
}

void CheckSections(const ScriptCheck& check) {
  const std::vector<ScriptSection>& sections = check.lines.sections();
  const ScriptSection* visible = check.Setup();
  if (visible == nullptr) {
    check.findings.Fail(0, kSetupHeader, TextId::NoSetupSection);
  }
  for (const ScriptSection& section : sections) {
    if (&section == visible) continue;
    if (EqualsIgnoringAsciiCase(section.name, kSetup)) {
      const std::size_t entries = section.entries.size();
      check.findings.Warn(section.headerLine, kSetupHeader,
                          entries == 1 ? TextId::HiddenSectionOneEntry : TextId::HiddenSection,
                          {std::to_string(visible->headerLine), std::to_string(entries)});
    } else {
      check.findings.Warn(section.headerLine, "[" + check.Utf8(section.name) + "]", TextId::SectionNeverRead);
    }
  }
}

void CheckLines(const ScriptCheck& check) {
  const ScriptSection* visible = check.Setup();
  // The lines under a hidden [SETUP] header are all lost with it: the header's finding says so.
  bool underHiddenHeader = false;
  for (std::size_t i = 0; i < check.lines.lines().size(); ++i) {
    const ScriptLine& line = check.lines.lines()[i];
    underHiddenHeader = underHiddenHeader || (line.section < 0 && IsHiddenSetupHeader(line));
    if (line.section < 0 && (line.kind == LineKind::Entry || line.kind == LineKind::Text) && !underHiddenHeader) {
      const bool bom = line.text.rfind(kByteOrderMark, 0) == 0;
      check.findings.Warn(line.number, line.kind == LineKind::Entry ? line.name : "",
                          bom ? TextId::MarkStartsFile : TextId::BeforeFirstSection);
    } else if (visible != nullptr && line.section >= 0 && &check.lines.sections()[line.section] == visible) {
      if (line.kind == LineKind::Text && !IsHiddenSetupHeader(line)) {
        check.findings.Warn(line.number, "", TextId::NoEqualsSign);
      } else if (line.kind == LineKind::Entry && visible->lastOf.at(ToUpperAscii(line.name)) != i) {
        const ScriptLine& last = check.lines.lines()[visible->lastOf.at(ToUpperAscii(line.name))];
        check.findings.Warn(line.number, line.name, TextId::GivenAgain, {std::to_string(last.number)});
      }
    }
  }
}

}  // namespace

void CheckStructure(const ScriptCheck& check) {
  if (check.lines.nulLine() > 0) {
    check.findings.Warn(check.lines.nulLine(), "", TextId::NulByte);
  }
  CheckHiddenHeaders(check);
  CheckSections(check);
  CheckLines(check);
}

}  // namespace setupcheck
