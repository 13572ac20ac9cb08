// Checks of the setup script's text: what the installer would silently ignore or misread.
#pragma once

#include <string>
#include <string_view>

#include "setup/platform/platform.h"
#include "setup/script/setup_script.h"
#include "setupcheck/findings.h"
#include "setupcheck/script_lines.h"

namespace setupcheck {

// What the checks look at: the script's lines, the script as the installer's own loader filled it
// (DestDir already set to the destination of the check, for macro expansion), and the simulated
// machine's platform for macro expansion and Shift-JIS conversion.
struct ScriptCheck {
  const ScriptLines& lines;
  const setup::SetupScript& script;
  setup::Platform& platform;
  Findings& findings;

  // The visible [SETUP] section; nullptr when the installer finds none.
  const ScriptSection* Setup() const;
  // The line of a key in the visible [SETUP] section; 0 when it is missing.
  int LineOf(std::string_view key) const;
  // Script text converted to UTF-8 for the report, bare or in double quotes.
  std::string Utf8(const std::string& ansi) const;
  std::string Quote(const std::string& ansi) const;
  std::string Expand(const std::string& value) const;
};

// Text that is not Shift-JIS, above all a script saved as UTF-8.
void CheckEncoding(const ScriptCheck& check);
// Sections, headers hidden behind other text, a NUL byte, lines that are not entries, keys given
// twice.
void CheckStructure(const ScriptCheck& check);
// Unknown keys, list numbering, settings that are empty, not numbers or out of range.
void CheckKeys(const ScriptCheck& check);
// The fields of the COPY, REG, CFG, START and REMOVE lines the installer reads.
void CheckListLines(const ScriptCheck& check);

}  // namespace setupcheck
