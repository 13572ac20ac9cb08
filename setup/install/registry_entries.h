// MakeRegistryData: the REG list written to the registry, then the uninstall entry.
//
// REG lines: "open,ROOT\KEYPATH" opens (creates) a key and records it for the uninstaller;
// "string,NAME,TEXT" writes a macro-expanded REG_SZ; "long,NAME,NUMBER" a REG_DWORD.
#pragma once

#include <string>

#include "setup/install/step_context.h"
#include "setup/script/installed_places.h"

namespace setup {

void MakeRegistryData(StepContext& context);

// The uninstaller's full path in the Windows folder.
std::string UninstallerPath(Platform& platform);

}  // namespace setup
