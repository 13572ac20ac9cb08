// The Start-menu step. Nothing here is reported and nothing stops the installation.
#include "setup/install/start_menu.h"

#include "setup/install/folders.h"
#include "setup/script/installed_places.h"
#include "setup/script/list_lines.h"
#include "setup/script/macros.h"
#include "setup/script/messages.h"
#include "setup/script/paths.h"
#include "setup/script/text.h"

namespace setup {

namespace {

void MakeStartMenuEntry(StepContext& context, const std::string& line) {
  Platform& platform = context.platform;
  const SetupScript& script = context.script;
  const StartLine start = ParseStartLine(line);
  std::string folder = ExpandMacros(script, platform, start.folder);
  if (folder.empty()) folder = start.name;

  // Without the Programs folder the path would start at the root of the current drive.
  const std::optional<std::string> programs = GetSpecialFolderPath(platform, kCsidlPrograms);
  if (!programs) return;
  CreateFolderWithParents(platform, JoinPath(*programs, script.GroupName, folder), context.journal);

  const std::string full = JoinPath(script.DestDir, start.target);
  const std::size_t separator = LastSeparator(full, platform.system, false);
  MakeShortcut(platform, context.journal, full.substr(0, separator), full.substr(separator + 1), start.name, folder,
               script.GroupName, kCsidlPrograms);
}

}  // namespace

void MakeStartMenu(StepContext& context) {
  context.progress.SetLabel(text::kStartMenuStep);
  for (const std::string& line : context.script.StartList) MakeStartMenuEntry(context, line);
}

void MakeShortcut(Platform& platform, InstallJournal& journal, const std::string& workFolder,
                  const std::string& fileName, const std::string& linkName, const std::string& subFolder,
                  const std::string& groupName, int csidl) {
  const std::optional<std::string> folder = platform.shell.SpecialFolderParsingName(csidl);
  if (!folder) return;
  ShellLinkData link;
  link.linkPath = JoinPath(*folder, groupName, subFolder, linkName) + ".lnk";
  link.workingFolder = workFolder;
  link.targetPath = JoinPath(workFolder, fileName);
  link.description = linkName;
  if (!platform.files.FileExists(link.linkPath)) journal.FileMade(link.linkPath);
  platform.shell.SaveShellLink(link);
}

}  // namespace setup
