// MakeStartMenu and MakeShortcut: folders below the Start menu's Programs folder and the shell
// links in them. START lines are "TARGET,NAME[,FOLDER]".
#pragma once

#include <string>

#include "setup/install/step_context.h"

namespace setup {

void MakeStartMenu(StepContext& context);

// Saves the link groupName\subFolder\linkName.lnk below the special folder csidl, pointing at
// workFolder\fileName with workFolder as its working folder, and tells the journal of a link file
// that was not there before. Failures are silent.
void MakeShortcut(Platform& platform, InstallJournal& journal, const std::string& workFolder,
                  const std::string& fileName, const std::string& linkName, const std::string& subFolder,
                  const std::string& groupName, int csidl);

}  // namespace setup
