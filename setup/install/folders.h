// Creating a folder together with its missing parents.
#pragma once

#include <string>

#include "setup/platform/platform.h"

namespace setup {

// Creates every missing level of path; failures are not reported (the caller's later work on
// the folder fails on its own).
void CreateFolderWithParents(Platform& platform, const std::string& path);

}  // namespace setup
