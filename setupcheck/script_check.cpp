// The shared view the script checks work on.
#include "setup/script/macros.h"
#include "setupcheck/script_lint.h"

namespace setupcheck {

const ScriptSection* ScriptCheck::Setup() const { return lines.Visible("SETUP"); }

int ScriptCheck::LineOf(std::string_view key) const {
  const ScriptSection* setup = Setup();
  const ScriptLine* line = setup == nullptr ? nullptr : lines.Find(*setup, key);
  return line == nullptr ? 0 : line->number;
}

std::string ScriptCheck::Utf8(const std::string& ansi) const { return platform.system.AnsiToUtf8(ansi); }

std::string ScriptCheck::Quote(const std::string& ansi) const { return "\"" + Utf8(ansi) + "\""; }

std::string ScriptCheck::Expand(const std::string& value) const { return setup::ExpandMacros(script, platform, value); }

}  // namespace setupcheck
