// LoadSetupScript and ReadList: filling SetupScript from setup.ini or the uninstall record.
#include "setup/script/setup_script.h"

#include <utility>

#include "setup/script/command_line.h"
#include "setup/script/ini_document.h"
#include "setup/script/macros.h"
#include "setup/script/paths.h"
#include "setup/script/script_keys.h"
#include "setup/script/text.h"

namespace setup {

namespace {

std::string ScriptPath(RunMode mode, Platform& platform, const std::string& modulePath) {
  if (mode == RunMode::Uninstall) return FirstArgument(platform.system.CommandLine());
  const std::size_t separator = LastSeparator(modulePath, platform.system, true);
  const std::string folder = separator == std::string::npos ? std::string() : modulePath.substr(0, separator + 1);
  return folder + "setup.ini";
}

}  // namespace

void ReadList(const IniDocument& document, const std::string& name, TextList& list) {
  const std::vector<std::string_view> values = document.ListValues(kSetupSection, name);
  list.reserve(list.size() + values.size());
  for (std::string_view value : values) list.emplace_back(value);
}

LoadResult LoadSetupScript(RunMode mode, Platform& platform, SetupScript& script) {
  script.WindowsDir = platform.system.WindowsDirectory();
  script.WindowsDrive = script.WindowsDir.substr(0, 1);

  const std::string modulePath = platform.system.ModulePath();
  bool networkBlocked = false;
  script.SourceRoot = modulePath.substr(0, 1);
  if (script.SourceRoot == "\\") {
    networkBlocked = true;
    script.SourceRoot = UncRoot(modulePath, platform.system);
  } else if (platform.files.GetDriveType(modulePath.substr(0, 3)) == DriveType::Remote) {
    networkBlocked = true;
  }

  const std::string path = ScriptPath(mode, platform, modulePath);
  if (path.empty() || !platform.files.FileExists(path)) return LoadResult{networkBlocked, false};
  std::optional<std::string> text = platform.files.ReadWholeFile(path);
  if (!text) return LoadResult{networkBlocked, false};
  return LoadSetupScriptText(std::move(*text), networkBlocked, platform, script);
}

LoadResult LoadSetupScriptText(std::string text, bool networkBlocked, Platform& platform, SetupScript& script) {
  const IniDocument document = IniDocument::Parse(std::move(text));
  script.Title = document.ReadText(kSetupSection, keys::kTitle, "");
  script.DestDir = ExpandMacros(script, platform, document.ReadText(kSetupSection, keys::kDir, ""));
  script.SourceDir = ExpandMacros(script, platform, document.ReadText(kSetupSection, keys::kSrc, "\\"));
  script.GroupName = document.ReadText(kSetupSection, keys::kGroup, "");
  script.RequiredDirectX = document.ReadInteger(kSetupSection, keys::kDirectX, 0);
  script.ShortcutSetting = document.ReadText(kSetupSection, keys::kShortcut, "");
  script.UninstallFile = document.ReadText(kSetupSection, keys::kUninstall, "");
  script.ConfigFileName = document.ReadText(kSetupSection, keys::kCfgName, "");
  script.RequiredSpace = document.ReadInteger(kSetupSection, keys::kSize, 0);
  if (networkBlocked && document.ReadBool(kSetupSection, keys::kNetwork, false)) networkBlocked = false;
  script.AskPC9821 = document.ReadBool(kSetupSection, keys::kPC9821, false);

  for (const ListStem& list : kListStems) ReadList(document, list.stem, script.*list.list);
  return LoadResult{networkBlocked, true};
}

}  // namespace setup
