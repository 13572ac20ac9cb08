// The state every installation step works on, given explicitly so tests can build it.
#pragma once

#include <string>

#include "setup/platform/platform.h"
#include "setup/script/flags.h"
#include "setup/script/setup_script.h"

namespace setup {

struct StepContext {
  SetupScript& script;
  Flags& flags;
  Platform& platform;
  ProgressWindow& progress;
};

// The end of a failed step: AbortRequested set, Installing cleared (so closing the main
// dialog asks nothing), and the notice that the installation was stopped.
void AbortInstallation(StepContext& context);

// "ファイル <name> を作成できません" in an error box, then the abort.
void ReportCannotCreate(StepContext& context, const std::string& fileNameAnsi);

}  // namespace setup
