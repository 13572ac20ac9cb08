// Key checks: keys the installer never asks for, lists cut short, and settings it misreads.
#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "setup/install/directx_version.h"
#include "setup/script/numbers.h"
#include "setup/script/script_keys.h"
#include "setup/script/text.h"
#include "setupcheck/key_suggestion.h"
#include "setupcheck/script_lint.h"

namespace setupcheck {

namespace {

using setup::ToUpperAscii;

// A list stem followed by digits the reader never takes for a list number: 0, a number with a
// leading zero, or one of more than nine digits.
bool IsMisnumberedListKey(std::string_view key) {
  const std::size_t digits = setup::TrailingDigits(key);
  return digits > 0 && digits < key.size() && setup::FindListStem(key.substr(0, key.size() - digits)) != nullptr;
}

void CheckUnknownKey(const ScriptCheck& check, const ScriptLine& line) {
  const std::string upper = ToUpperAscii(line.name);
  if (setup::FindListStem(upper) != nullptr) {
    check.findings.Warn(line.number, line.name, TextId::ListKeyWithoutNumber, {upper});
    return;
  }
  const std::string suggestion = SuggestKey(line.name);
  check.findings.Warn(line.number, line.name, TextId::UnknownKey,
                      {suggestion.empty() ? Text() : Text(TextId::DidYouMean, {suggestion})});
}

void CheckSettingValue(const ScriptCheck& check, const ScriptLine& line, const setup::SettingKey& setting) {
  const std::string upper = ToUpperAscii(line.name);
  if (upper == setup::keys::kDesktop) {
    check.findings.Warn(line.number, line.name, TextId::NoDesktopShortcut);
  } else if (upper == setup::keys::kExecute) {
    check.findings.Warn(line.number, line.name, TextId::NothingStarted);
  }
  if (setting.kind != setup::SettingKind::Number) return;
  const std::optional<std::int32_t> number = setup::ParseInteger(line.value);
  if (!number) {
    check.findings.Warn(line.number, line.name, TextId::NotANumber, {check.Quote(line.value)});
  } else if (upper == "SIZE" && *number >= 2048) {
    check.findings.Warn(line.number, line.name, TextId::SizeTooLarge, {std::to_string(*number)});
  } else if (upper == "SIZE" && *number < 0) {
    check.findings.Warn(line.number, line.name, TextId::SizeNegative);
  } else if (upper == setup::keys::kDirectX && *number > setup::kNewestDirectX) {
    check.findings.Warn(line.number, line.name, TextId::DirectXTooHigh, {std::to_string(setup::kNewestDirectX)});
  }
}

// The keys of one list that the installer never reads, because the list ended before them.
void CheckListNumbering(const ScriptCheck& check, const std::string& stem,
                        const std::map<std::uint32_t, const ScriptLine*>& keys) {
  const std::size_t read = (check.script.*setup::FindListStem(stem)->list).size();
  const std::uint32_t end = static_cast<std::uint32_t>(read) + 1;  // the key that ended the list
  const auto ender = keys.find(end);
  std::vector<const ScriptLine*> unread;
  for (auto it = keys.upper_bound(end); it != keys.end(); ++it) unread.push_back(it->second);
  if (unread.empty()) return;

  const std::string endKey = stem + std::to_string(end);
  TextId reason = TextId::ListEmpty;
  std::vector<Text> args = {stem, endKey};
  if (ender != keys.end()) {
    check.findings.Warn(ender->second->number, ender->second->name, TextId::EmptyValueEndsList,
                        {stem, std::to_string(unread.size())});
    reason = TextId::AfterEmptyValue;
    args = {endKey, std::to_string(ender->second->number), stem};
  } else if (read > 0) {
    reason = TextId::ListEndsEarly;
    args = {stem, stem + std::to_string(read), endKey};
  }
  for (const ScriptLine* line : unread) check.findings.Warn(line->number, line->name, reason, args);
}

void CheckSettingsPresence(const ScriptCheck& check) {
  const ScriptSection* setup = check.Setup();
  const ScriptLine* title = check.lines.Find(*setup, "TITLE");
  if (title == nullptr || title->value.empty()) {
    check.findings.Fail(check.LineOf("TITLE"), "TITLE", TextId::NoTitle);
  }
  const ScriptLine* uninstall = check.lines.Find(*setup, "UNINSTALL");
  if (uninstall == nullptr || uninstall->value.empty()) {
    check.findings.Fail(check.LineOf("UNINSTALL"), "UNINSTALL", TextId::NoRecordName);
  }
}

}  // namespace

void CheckKeys(const ScriptCheck& check) {
  const ScriptSection* setup = check.Setup();
  if (setup == nullptr) return;
  std::map<std::string, std::map<std::uint32_t, const ScriptLine*>> lists;
  for (const auto& [upperKey, index] : setup->lastOf) {
    const ScriptLine& line = check.lines.lines()[index];
    setup::NumberedKey numbered;
    if (const setup::SettingKey* setting = setup::FindSetting(line.name)) {
      CheckSettingValue(check, line, *setting);
    } else if (setup::SplitNumberedKey(upperKey, &numbered) && numbered.number > 0 &&
               setup::FindListStem(numbered.stem) != nullptr) {
      lists[std::string(numbered.stem)][numbered.number] = &line;
    } else if (IsMisnumberedListKey(line.name)) {
      check.findings.Warn(line.number, line.name, TextId::ListKeyMisnumbered);
    } else {
      CheckUnknownKey(check, line);
    }
  }
  for (const auto& [stem, keys] : lists) CheckListNumbering(check, stem, keys);
  CheckSettingsPresence(check);
}

}  // namespace setupcheck
