// Shell over shell32 and ole32: special folders, the folder picker, ShellExecute, shell links.
#pragma once

#include "setup/platform/win32/windows_api.h"

#include "setup/platform/platform.h"

namespace setup::win32 {

class WinShell final : public Shell {
 public:
  // The main dialog, which owns the picker and is passed wherever the shell asks for an owner.
  void SetOwner(HWND owner) { owner_ = owner; }

  std::optional<std::string> SpecialFolderPath(int csidl) override;
  std::optional<std::string> SpecialFolderParsingName(int csidl) override;
  std::optional<std::string> BrowseForFolder(const std::string& titleUtf8) override;
  bool OpenFile(const std::string& path) override;
  bool SaveShellLink(const ShellLinkData& link) override;
  void BroadcastSettingChange() override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace setup::win32
