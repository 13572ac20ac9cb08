// Checks of the CD image against the COPY list: what each line's sources match under the copy
// step's own rules (setup::MatchCopySource), files it passes over, files copied twice, and the
// total size against SIZE.
#pragma once

#include <string>
#include <vector>

#include "setup/script/setup_script.h"
#include "setupcheck/check_machine.h"
#include "setupcheck/script_lint.h"

namespace setupcheck {

// check must run on machine's platform.
void CheckCdImage(const ScriptCheck& check, CheckMachine& machine);

}  // namespace setupcheck
