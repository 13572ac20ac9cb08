// The configuration-file step.
#include "setup/install/config_file.h"

#include "setup/script/macros.h"
#include "setup/script/messages.h"

namespace setup {

void MakeConfigFile(StepContext& context) {
  context.progress.SetLabel(text::kConfigFileStep);
  if (context.script.ConfigFileName.empty()) return;

  Platform& platform = context.platform;
  const std::string name = ExpandMacros(context.script, platform, context.script.ConfigFileName);
  std::string content;
  for (const std::string& line : context.script.CfgList) {
    content += ExpandMacros(context.script, platform, line);
    content += "\r\n";
  }
  if (!platform.files.FileExists(name)) context.journal.FileMade(name);
  // A failing write after the file exists goes unnoticed, as the file is recorded either way.
  if (platform.files.WriteWholeFile(name, content) == WriteResult::CannotCreate) {
    ReportCannotCreate(context, name);
    return;
  }
  context.script.InstalledFiles.push_back(name);
}

}  // namespace setup
