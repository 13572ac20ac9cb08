// The keys the installer reads from [SETUP]: its settings and the stems of its numbered lists.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace setupcheck {

// Settings in the order the loader reads them.
inline constexpr const char* kSettingKeys[] = {"TITLE",   "DIR",      "SRC",       "GROUP",   "DIRECTX",
                                               "DESKTOP", "SHORTCUT", "UNINSTALL", "CFGNAME", "EXECUTE",
                                               "SIZE",    "NETWORK",  "PC9821"};
// Settings read as numbers (booleans included).
inline constexpr const char* kNumberKeys[] = {"DIRECTX", "DESKTOP", "SIZE", "NETWORK", "PC9821"};
// Numbered lists in the order the loader reads them.
inline constexpr const char* kListStems[] = {"COPY", "REG", "START", "CFG", "REMOVE"};

// A key split into a list stem and its number, as the reader indexes it: the number is the
// trailing decimal digits. wellFormed is false for a number the reader never asks for (0, or
// written with leading zeros such as COPY01).
struct ListKey {
  std::string stem;  // upper case
  std::uint32_t number = 0;
  bool wellFormed = false;
};

// The list key of a key whose stem (letter case ignored) is one of kListStems; false otherwise.
bool ParseListKey(std::string_view key, ListKey* result);

bool IsSettingKey(std::string_view key);

// A known key (setting or list key) that an unknown key is likely a misspelling of, or empty.
// A list key keeps its number: "COPPY3" suggests "COPY3".
std::string SuggestKey(std::string_view unknownKey);

}  // namespace setupcheck
