// Key checks: keys the installer never asks for, lists cut short, and settings it misreads.
#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "setup/script/numbers.h"
#include "setup/script/text.h"
#include "setupcheck/script_keys.h"
#include "setupcheck/script_lint.h"

namespace setupcheck {

namespace {

using setup::ToUpperAscii;

const setup::TextList& LoadedList(const setup::SetupScript& script, const std::string& stem) {
  if (stem == "COPY") return script.CopyList;
  if (stem == "REG") return script.RegList;
  if (stem == "START") return script.StartList;
  if (stem == "CFG") return script.CfgList;
  return script.RemoveList;
}

void CheckUnknownKey(const ScriptCheck& check, const ScriptLine& line) {
  const std::string upper = ToUpperAscii(line.name);
  for (const char* stem : kListStems) {
    if (upper == stem) {
      check.findings.Warn(line.number, line.name,
                          "never read: list keys carry a number (" + upper + "1, " + upper + "2, ...)");
      return;
    }
  }
  const std::string suggestion = SuggestKey(line.name);
  check.findings.Warn(line.number, line.name,
                      "unknown key, never read" + (suggestion.empty() ? "" : " (did you mean " + suggestion + "?)"));
}

void CheckSettingValue(const ScriptCheck& check, const ScriptLine& line) {
  const std::string upper = ToUpperAscii(line.name);
  if (upper == "DESKTOP") {
    check.findings.Warn(line.number, line.name, "has no effect: the installer makes no desktop shortcut");
  } else if (upper == "EXECUTE") {
    check.findings.Warn(line.number, line.name, "has no effect: the installer starts nothing after installing");
  }
  if (upper == "DESKTOP" || std::find(std::begin(kNumberKeys), std::end(kNumberKeys), upper) == std::end(kNumberKeys))
    return;
  const std::optional<std::int32_t> number = setup::ParseInteger(line.value);
  if (!number) {
    check.findings.Warn(line.number, line.name, check.Quote(line.value) + " is not a number: read as 0");
  } else if (upper == "SIZE" && *number >= 2048) {
    check.findings.Warn(line.number, line.name,
                        std::to_string(*number) + " MB: 2048 MB or more is beyond a signed 32-bit byte count");
  } else if (upper == "SIZE" && *number < 0) {
    check.findings.Warn(line.number, line.name, "negative: the free space is not checked");
  }
}

// The keys of one list that the installer never reads, because the list ended before them.
void CheckListNumbering(const ScriptCheck& check, const std::string& stem,
                        const std::map<std::uint32_t, const ScriptLine*>& keys) {
  const std::size_t read = LoadedList(check.script, stem).size();
  const std::uint32_t end = static_cast<std::uint32_t>(read) + 1;  // the key that ended the list
  const auto ender = keys.find(end);
  std::vector<const ScriptLine*> unread;
  for (auto it = keys.upper_bound(end); it != keys.end(); ++it) unread.push_back(it->second);
  if (unread.empty()) return;

  const std::string endKey = stem + std::to_string(end);
  std::string reason;
  if (ender != keys.end()) {
    check.findings.Warn(ender->second->number, ender->second->name,
                        "empty value ends the " + stem + " list: the " + std::to_string(unread.size()) +
                            " keys after it are never read");
    reason =
        "the empty " + endKey + " at line " + std::to_string(ender->second->number) + " ends the " + stem + " list";
  } else {
    reason = read == 0 ? "the " + stem + " list is empty because " + endKey + " is missing"
                       : "the " + stem + " list ends at " + stem + std::to_string(read) + " because " + endKey +
                             " is missing";
  }
  for (const ScriptLine* line : unread) check.findings.Warn(line->number, line->name, "never read: " + reason);
}

void CheckSettingsPresence(const ScriptCheck& check) {
  const ScriptSection* setup = check.Setup();
  const ScriptLine* title = check.lines.Find(*setup, "TITLE");
  if (title == nullptr || title->value.empty()) {
    check.findings.Warn(check.LineOf("TITLE"), "TITLE",
                        "no title: captions are empty and the uninstall entry has no name of its own");
  }
  const ScriptLine* uninstall = check.lines.Find(*setup, "UNINSTALL");
  if (uninstall == nullptr || uninstall->value.empty()) {
    check.findings.Fail(check.LineOf("UNINSTALL"), "UNINSTALL",
                        "no record name: the installation stops when it writes the uninstall record");
  }
}

}  // namespace

void CheckKeys(const ScriptCheck& check) {
  const ScriptSection* setup = check.Setup();
  if (setup == nullptr) return;
  std::map<std::string, std::map<std::uint32_t, const ScriptLine*>> lists;
  for (const auto& [upperKey, index] : setup->lastOf) {
    const ScriptLine& line = check.lines.lines()[index];
    ListKey listKey;
    if (IsSettingKey(line.name)) {
      CheckSettingValue(check, line);
    } else if (!ParseListKey(line.name, &listKey)) {
      CheckUnknownKey(check, line);
    } else if (!listKey.wellFormed) {
      check.findings.Warn(line.number, line.name, "never read: list keys are numbered from 1 without leading zeros");
    } else {
      lists[listKey.stem][listKey.number] = &line;
    }
  }
  for (const auto& [stem, keys] : lists) CheckListNumbering(check, stem, keys);
  CheckSettingsPresence(check);
}

}  // namespace setupcheck
