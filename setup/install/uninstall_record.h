// MakeUnInstallData: the uninstaller copy in the Windows folder and the uninstall record in the
// destination folder, merged into an existing record of the same name.
#pragma once

#include <string>
#include <string_view>

#include "setup/install/step_context.h"

namespace setup {

// The record's text: old (which may be empty) with this installation's TITLE, GROUP, COPYn, REGn
// and SHORTCUT set in its SETUP section.
std::string UninstallRecordText(const SetupScript& script, std::string_view old);

// Writes the record at path, merged into the one already there: beside it first, then moved into
// place. False when it could not be written; the old record, if any, is then left as it was.
bool WriteUninstallRecord(const SetupScript& script, Platform& platform, const std::string& path);

void MakeUnInstallData(StepContext& context);

}  // namespace setup
