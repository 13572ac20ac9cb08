// MakeConfigFile: the file named by CFGNAME, written from the CFG list with macros expanded.
#pragma once

#include "setup/install/step_context.h"

namespace setup {

// Each expanded line is written whole with CR LF, however long. A file that cannot be created
// is reported and stops the installation.
void MakeConfigFile(StepContext& context);

}  // namespace setup
