// MakeRegistryData: the REG list written to the registry, then the uninstall entry.
//
// REG lines: "open,ROOT\KEYPATH" opens (creates) a key and records it for the uninstaller;
// "string,NAME,TEXT" writes a macro-expanded REG_SZ; "long,NAME,NUMBER" a REG_DWORD.
#pragma once

#include <string>

#include "setup/install/step_context.h"

namespace setup {

inline constexpr char kUninstallKeyPrefix[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline constexpr char kUninstallerName[] = "unkelvo4.exe";

void MakeRegistryData(StepContext& context);

// The uninstaller's full path in the Windows folder.
std::string UninstallerPath(Platform& platform);

}  // namespace setup
