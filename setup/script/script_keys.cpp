// Looking up settings and list stems, and splitting numbered keys.
#include "setup/script/script_keys.h"

#include "setup/script/text.h"

namespace setup {

std::size_t TrailingDigits(std::string_view key) {
  std::size_t digits = 0;
  while (digits < key.size() && key[key.size() - 1 - digits] >= '0' && key[key.size() - 1 - digits] <= '9') ++digits;
  return digits;
}

bool SplitNumberedKey(std::string_view key, NumberedKey* result) {
  const std::size_t digits = TrailingDigits(key);
  if (digits == 0 || digits > 9 || digits == key.size()) return false;
  const std::string_view text = key.substr(key.size() - digits);
  if (text.size() > 1 && text[0] == '0') return false;
  std::uint32_t value = 0;
  for (char c : text) value = value * 10 + static_cast<std::uint32_t>(c - '0');
  result->stem = key.substr(0, key.size() - digits);
  result->number = value;
  return true;
}

const SettingKey* FindSetting(std::string_view key) {
  for (const SettingKey& setting : kSettingKeys) {
    if (EqualsIgnoringAsciiCase(key, setting.name)) return &setting;
  }
  return nullptr;
}

const ListStem* FindListStem(std::string_view stem) {
  for (const ListStem& list : kListStems) {
    if (EqualsIgnoringAsciiCase(stem, list.stem)) return &list;
  }
  return nullptr;
}

}  // namespace setup
