// MakeUnInstallData: the uninstaller copy in the Windows folder and the uninstall record in the
// destination folder, merged into an existing record of the same name.
#pragma once

#include "setup/install/step_context.h"

namespace setup {

void MakeUnInstallData(StepContext& context);

}  // namespace setup
