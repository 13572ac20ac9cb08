// Creating a folder together with its missing parents.
#pragma once

#include <string>

#include "setup/install/install_journal.h"
#include "setup/platform/platform.h"

namespace setup {

// Creates every missing level of path and tells the journal each level it made. True when the
// folder exists at the end; the caller decides whether a failure is reported.
bool CreateFolderWithParents(Platform& platform, const std::string& path, InstallJournal& journal);

}  // namespace setup
