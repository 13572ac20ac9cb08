// Checks of the CD image against the COPY list: what each line's sources match under the copy
// step's own rules, files it passes over, files copied twice, and the total size against SIZE.
#pragma once

#include <string>
#include <vector>

#include "setup/script/setup_script.h"
#include "setupcheck/check_machine.h"
#include "setupcheck/script_lint.h"

namespace setupcheck {

struct SourceMatch {
  std::string searchPath;                  // what the copy step listed, e.g. "D:\DATA\STAGE\*.DAT"
  std::vector<setup::FoundEntry> copied;   // files it copies
  std::vector<setup::FoundEntry> skipped;  // files it lists but passes over (hidden, system)
};

// Runs the copy step on one source field alone (on a scratch destination) and reports what it
// listed and copied. loaded gives the source folder and the macro values.
SourceMatch MatchSource(CheckMachine& machine, const setup::SetupScript& loaded, const std::string& field);

// check must run on machine's platform.
void CheckCdImage(const ScriptCheck& check, CheckMachine& machine);

}  // namespace setupcheck
