// SetupScript: the loaded setup script (or uninstall record), and the loader that fills it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/platform/platform.h"

namespace setup {

class IniDocument;

using TextList = std::vector<std::string>;

struct SetupScript {
  // Settings.
  std::string Title;
  std::string DestDir;
  std::string SourceDir;
  std::string GroupName;
  std::int32_t RequiredDirectX = 0;
  std::string ShortcutSetting;
  std::string UninstallFile;
  std::string ConfigFileName;
  std::int32_t RequiredSpace = 0;
  bool AskPC9821 = false;

  // Environment values, worked out before the file is read.
  std::string WindowsDir;
  std::string WindowsDrive;
  std::string SourceRoot;

  // Script lists.
  TextList CopyList;
  TextList RegList;
  TextList StartList;
  TextList CfgList;
  TextList RemoveList;

  // Record lists, filled by the installation steps.
  TextList InstalledFiles;
  TextList InstalledRegKeys;
};

enum class RunMode { Install, Uninstall };

struct LoadResult {
  bool NetworkBlocked = false;
  bool scriptFound = false;
};

// Fills script from setup.ini beside the program (install) or from the record named by the
// first command-line argument (uninstall). A missing script leaves everything empty.
LoadResult LoadSetupScript(RunMode mode, Platform& platform, SetupScript& script);

// Reads the values from script loading: the file's text has already been read. The text is
// taken over rather than copied, as the document reads its values in place.
LoadResult LoadSetupScriptText(std::string text, bool networkBlocked, Platform& platform, SetupScript& script);

// Appends the values of NAME1, NAME2, ... of section SETUP up to the first missing or empty one.
// The list grows once, to its final size: a script's lists are most of its size.
void ReadList(const IniDocument& document, const std::string& name, TextList& list);

}  // namespace setup
