// The keys of the setup script's [SETUP] section: the settings, the numbered lists, and how a
// numbered key splits into its stem and number. The loader reads the script with these names
// and setupcheck checks it against them, so the two cannot disagree on what a key means.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "setup/script/setup_script.h"

namespace setup {

inline constexpr std::string_view kSetupSection = "SETUP";

namespace keys {
inline constexpr char kTitle[] = "TITLE";
inline constexpr char kDir[] = "DIR";
inline constexpr char kSrc[] = "SRC";
inline constexpr char kGroup[] = "GROUP";
inline constexpr char kDirectX[] = "DIRECTX";
inline constexpr char kDesktop[] = "DESKTOP";
inline constexpr char kShortcut[] = "SHORTCUT";
inline constexpr char kUninstall[] = "UNINSTALL";
inline constexpr char kCfgName[] = "CFGNAME";
inline constexpr char kExecute[] = "EXECUTE";
inline constexpr char kSize[] = "SIZE";
inline constexpr char kNetwork[] = "NETWORK";
inline constexpr char kPC9821[] = "PC9821";
inline constexpr char kCopy[] = "COPY";
inline constexpr char kReg[] = "REG";
inline constexpr char kStart[] = "START";
inline constexpr char kCfg[] = "CFG";
inline constexpr char kRemove[] = "REMOVE";
}  // namespace keys

enum class SettingKind {
  Text,
  Number,   // read as a 32-bit integer; text that is no number reads as 0
  Ignored,  // accepted in scripts written for older installers, but read by nothing
};

struct SettingKey {
  const char* name;
  SettingKind kind;
};

// Every setting, in the order the loader reads them.
inline constexpr SettingKey kSettingKeys[] = {
    {keys::kTitle, SettingKind::Text},     {keys::kDir, SettingKind::Text},
    {keys::kSrc, SettingKind::Text},       {keys::kGroup, SettingKind::Text},
    {keys::kDirectX, SettingKind::Number}, {keys::kDesktop, SettingKind::Ignored},
    {keys::kShortcut, SettingKind::Text},  {keys::kUninstall, SettingKind::Text},
    {keys::kCfgName, SettingKind::Text},   {keys::kExecute, SettingKind::Ignored},
    {keys::kSize, SettingKind::Number},    {keys::kNetwork, SettingKind::Number},
    {keys::kPC9821, SettingKind::Number},
};

struct ListStem {
  const char* stem;
  TextList SetupScript::*list;
};

// The numbered lists (COPY1, COPY2, ...), in the order the loader reads them, with where the
// loaded script keeps each.
inline constexpr ListStem kListStems[] = {
    {keys::kCopy, &SetupScript::CopyList},     {keys::kReg, &SetupScript::RegList},
    {keys::kStart, &SetupScript::StartList},   {keys::kCfg, &SetupScript::CfgList},
    {keys::kRemove, &SetupScript::RemoveList},
};

// A key with a decimal number at its end, split as the reader indexes it. Numbers of more than
// nine digits, or written with a leading zero ("COPY01"), are not list numbers: the reader
// keeps such keys by name, where a list never looks.
struct NumberedKey {
  std::string_view stem;  // as written
  std::uint32_t number = 0;
};

// The count of decimal digits at the end of a key.
std::size_t TrailingDigits(std::string_view key);

// False for a key without such a number, or that is nothing but digits.
bool SplitNumberedKey(std::string_view key, NumberedKey* result);

// The setting of a name (ASCII letter case ignored); nullptr when it is none.
const SettingKey* FindSetting(std::string_view key);
// The list of a stem (ASCII letter case ignored); nullptr when it is none.
const ListStem* FindListStem(std::string_view stem);

}  // namespace setup
