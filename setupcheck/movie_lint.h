// The opening movie d.avi: whether the launcher's player can show it on a Windows as shipped, and
// whether it fits the launcher's 640 x 480 window.
#pragma once

#include "setupcheck/cd_folder.h"
#include "setupcheck/findings.h"

namespace setupcheck {

// Warns about a d.avi at the image's top that no Windows plays as shipped, or that is larger than
// the launcher's window.
void CheckMovie(const CdFolder& cd, Findings& findings);

}  // namespace setupcheck
