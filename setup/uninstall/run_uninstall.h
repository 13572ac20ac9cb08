// RunUnInstall: removes what one installation created, as its uninstall record lists it.
#pragma once

#include <string>

#include "setup/platform/platform.h"
#include "setup/script/setup_script.h"

namespace setup {

// Start-menu folder, listed files (with a progress window of its own), the record itself,
// the uninstall entry, the recorded registry keys, and the folders left empty. Nothing is
// asked or reported; every failure is passed over.
void RunUnInstall(SetupScript& script, Platform& platform, const std::string& recordPath);

}  // namespace setup
