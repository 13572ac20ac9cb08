// Line checks: the fields of the list lines, read as the installation steps read them.
#include <optional>
#include <string_view>

#include "setup/script/installed_places.h"
#include "setup/script/list_lines.h"
#include "setup/script/macros.h"
#include "setup/script/numbers.h"
#include "setup/script/paths.h"
#include "setup/script/script_keys.h"
#include "setup/script/text.h"
#include "setup/uninstall/folder_list.h"
#include "setup/uninstall/registry_deletion.h"
#include "setupcheck/script_lint.h"

namespace setupcheck {

namespace {

using setup::EqualsIgnoringAsciiCase;

// The longest configuration-file line the installer's line buffer was made for, without CR LF.
constexpr std::size_t kLongestConfigLine = 253;

std::string Key(const char* stem, std::size_t index) { return stem + std::to_string(index + 1); }

// The first macro character of a value that stands where no folder or drive is meant, or NUL. A
// folder or a drive letter ends the value or is followed by a separator ("\", "/", ";", a quote,
// or ":" after a drive letter); "info@example.jp" and "$5" are text the installer rewrites.
// The expansion's own walk finds the macros, so a double-byte character whose second byte is
// "@", "^" or "~" is never taken for one.
char StrayMacro(const std::string& value, setup::System& system) {
  for (std::size_t at = setup::NextMacro(value, 0, system); at != std::string::npos;
       at = setup::NextMacro(value, at + 1, system)) {
    const char next = at + 1 < value.size() ? value[at + 1] : '\0';
    if (next != '\0' && std::string_view("\\/;\":").find(next) == std::string_view::npos) return value[at];
  }
  return '\0';
}

void CheckStrayMacro(const ScriptCheck& check, int line, const std::string& key, const std::string& value) {
  const char macro = StrayMacro(value, check.platform.system);
  if (macro == '\0') return;
  check.findings.Warn(line, key, TextId::StrayMacro,
                      {std::string(1, macro), check.Quote(value), check.Quote(check.Expand(value))});
}

void CheckCopyLines(const ScriptCheck& check) {
  const setup::TextList& list = check.script.CopyList;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string key = Key(setup::keys::kCopy, i);
    const int line = check.LineOf(key);
    const setup::CopyLine copy = setup::ParseCopyLine(list[i]);
    const std::string expanded = check.Expand(copy.destination);
    if (expanded.empty()) {
      check.findings.Warn(line, key, TextId::NoDestination);
    } else if (!setup::IsFullPath(expanded)) {
      check.findings.Warn(line, key, TextId::DestinationNotFullPath, {check.Quote(expanded)});
    }
    if (copy.textAfterFields) check.findings.Warn(line, key, TextId::TextAfterFields);
  }
}

void CheckOpenLine(const ScriptCheck& check, const std::string& key, int lineNumber, const setup::RegLine& reg) {
  const std::string& root = reg.root;
  if (!EqualsIgnoringAsciiCase(root, "HKEY_LOCAL_MACHINE") && !EqualsIgnoringAsciiCase(root, "HKEY_CURRENT_USER")) {
    check.findings.Warn(lineNumber, key, TextId::UnknownRoot, {check.Quote(root)});
  }
  if (setup::IsProtectedKeyPath(reg.keyPath, check.platform.system)) {
    check.findings.Warn(lineNumber, key, TextId::ProtectedKey, {check.Quote(reg.keyPath)});
  }
}

void CheckRegLines(const ScriptCheck& check) {
  const setup::TextList& list = check.script.RegList;
  bool keyOpen = false;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string key = Key(setup::keys::kReg, i);
    const int line = check.LineOf(key);
    const setup::RegLine reg = setup::ParseRegLine(list[i]);
    if (reg.keyword == setup::RegKeyword::Open) {
      CheckOpenLine(check, key, line, reg);
      keyOpen = true;
      continue;
    }
    if (reg.keyword == setup::RegKeyword::Unknown) {
      check.findings.Warn(line, key, TextId::UnknownRegKeyword, {check.Quote(reg.keywordText)});
      continue;
    }
    if (!keyOpen) {
      check.findings.Fail(line, key, TextId::ValueBeforeOpen);
    }
    if (reg.keyword == setup::RegKeyword::String) CheckStrayMacro(check, line, key, reg.value);
    if (reg.keyword == setup::RegKeyword::Long && !setup::ParseInteger(reg.value)) {
      check.findings.Fail(line, key, TextId::LongNotANumber, {check.Quote(reg.value)});
    }
    if (reg.textAfterFields) {
      check.findings.Warn(line, key, TextId::TextAfterRegFields);
    }
  }
}

void CheckCfgLines(const ScriptCheck& check) {
  const setup::TextList& list = check.script.CfgList;
  if (!list.empty() && check.script.ConfigFileName.empty()) {
    check.findings.Warn(check.LineOf("CFG1"), "CFG1", TextId::CfgWithoutName);
  }
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string key = Key(setup::keys::kCfg, i);
    const int line = check.LineOf(key);
    const std::size_t length = check.Expand(list[i]).size();
    if (length > kLongestConfigLine) {
      check.findings.Warn(line, key, TextId::CfgLineTooLong,
                          {std::to_string(length), std::to_string(kLongestConfigLine)});
    }
    CheckStrayMacro(check, line, key, list[i]);
  }
}

void CheckStartLines(const ScriptCheck& check) {
  const setup::TextList& list = check.script.StartList;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string key = Key(setup::keys::kStart, i);
    const int line = check.LineOf(key);
    const setup::StartLine start = setup::ParseStartLine(list[i]);
    std::string folder = check.Expand(start.folder);
    if (folder.empty()) folder = start.name;
    if (start.target.empty()) check.findings.Warn(line, key, TextId::NoShortcutTarget);
    if (start.name.empty()) check.findings.Warn(line, key, TextId::NoShortcutName);
    if (start.textAfterFields) check.findings.Warn(line, key, TextId::TextAfterFields);
    // The uninstaller empties only the Start-menu folder named like the title.
    if (!EqualsIgnoringAsciiCase(folder, check.script.Title)) {
      check.findings.Warn(line, key, TextId::ShortcutOutsideTitle,
                          {check.Quote(folder), check.Quote(check.script.Title)});
    }
  }
}

void CheckRemoveLines(const ScriptCheck& check) {
  const setup::TextList& list = check.script.RemoveList;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string key = Key(setup::keys::kRemove, i);
    const int line = check.LineOf(key);
    if (list[i].find_first_of("*?") != std::string::npos) {
      check.findings.Warn(line, key, TextId::RemoveWildcards);
      continue;
    }
    const std::string expanded = check.Expand(list[i]);
    if (!setup::IsFullPath(expanded)) {
      check.findings.Warn(line, key, TextId::RemoveNotFullPath, {check.Quote(expanded)});
    }
  }
}

}  // namespace

void CheckListLines(const ScriptCheck& check) {
  CheckCopyLines(check);
  CheckRegLines(check);
  CheckCfgLines(check);
  CheckStartLines(check);
  CheckRemoveLines(check);
}

}  // namespace setupcheck
