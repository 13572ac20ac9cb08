// What the installation and the uninstaller both need: the Programs folder's path, the registry
// root for a root-key name, and where the uninstall entry and the uninstaller copy live.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "setup/platform/platform.h"

namespace setup {

// The key below HKEY_LOCAL_MACHINE that holds one uninstall entry per product title.
inline constexpr char kUninstallKeyPrefix[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
// The uninstaller copy's name in the Windows folder.
inline constexpr char kUninstallerName[] = "unkelvo4.exe";

// The file-system path of a shell special folder; nothing when the shell cannot give it.
std::optional<std::string> GetSpecialFolderPath(Platform& platform, int csidl);

// HKEY_LOCAL_MACHINE for "HKEY_LOCAL_MACHINE" in any letter case, HKEY_CURRENT_USER otherwise.
KeyHandle GetRootKey(std::string_view name);

// The name that GetRootKey maps back to root: "HKEY_LOCAL_MACHINE" or "HKEY_CURRENT_USER".
std::string RootKeyName(KeyHandle root);

}  // namespace setup
