// The dry run written out for an author: files copied, registry values, the configuration file,
// the shortcuts and the uninstall record, as the installation would leave them.
#pragma once

#include <string>

#include "setup/platform/platform.h"
#include "setupcheck/dry_run.h"
#include "setupcheck/texts.h"

namespace setupcheck {

// UTF-8 text with its headings in language; system converts the script's Shift-JIS text.
std::string FormatPlan(const DryRun& run, setup::System& system, Language language);

}  // namespace setupcheck
