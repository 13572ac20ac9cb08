// The state every installation step works on, given explicitly so tests can build it.
#pragma once

#include <cstdint>
#include <string>

#include "setup/install/install_journal.h"
#include "setup/platform/platform.h"
#include "setup/script/flags.h"
#include "setup/script/setup_script.h"

namespace setup {

struct StepContext {
  SetupScript& script;
  Flags& flags;
  Platform& platform;
  ProgressWindow& progress;
  // What the run made so far; the steps tell it each thing they make.
  InstallJournal& journal;
  // The bytes of the files the copy step copied (not those the user chose to ignore), which the
  // installed-programs entry gives as the product's size.
  std::uint64_t copiedBytes = 0;
  // A step failed and said why; the sequence takes the run back and then tells the user that the
  // installation was stopped. The user's own abort leaves it clear.
  bool failed = false;
};

// The end of a failed step: AbortRequested set, Installing cleared (so closing the main dialog
// asks nothing), and the failure noted for the sequence.
void AbortInstallation(StepContext& context);

// "ファイル <name> を作成できません" in an error box, then the abort.
void ReportCannotCreate(StepContext& context, const std::string& fileNameAnsi);

// A file that could not be copied or a folder that could not be made, in an abort-retry-ignore
// box owned by the progress window, with the system's own words for the cause on a second line.
// Abort ends the step as a failure (AbortInstallation); the answer is returned either way.
Answer AskAboutCopyFailure(StepContext& context, const char* before, const std::string& pathAnsi, const char* after);

}  // namespace setup
