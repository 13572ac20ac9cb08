// The dry run written out for an author: files copied, registry values, the configuration file,
// the shortcuts and the uninstall record, as the installation would leave them.
#pragma once

#include <string>

#include "setup/platform/platform.h"
#include "setupcheck/dry_run.h"

namespace setupcheck {

// UTF-8 text; system converts the script's Shift-JIS text.
std::string FormatPlan(const DryRun& run, setup::System& system);

}  // namespace setupcheck
