// Two small routines several steps share: the Programs folder's path and the registry root
// for a root-key name.
#pragma once

#include <string>
#include <string_view>

#include "setup/platform/platform.h"

namespace setup {

// The file-system path of a shell special folder; empty when the shell cannot give it.
std::string GetSpecialFolderPath(Platform& platform, int csidl);

// HKEY_LOCAL_MACHINE for "HKEY_LOCAL_MACHINE" in any letter case, HKEY_CURRENT_USER otherwise.
KeyHandle GetRootKey(std::string_view name);

// The name that GetRootKey maps back to root: "HKEY_LOCAL_MACHINE" or "HKEY_CURRENT_USER".
std::string RootKeyName(KeyHandle root);

}  // namespace setup
