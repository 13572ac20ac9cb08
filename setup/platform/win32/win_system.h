// System facts: folders, own path, command line, keyboard, version resources, code page.
#pragma once

#include "setup/platform/platform.h"

namespace setup::win32 {

class WinSystem final : public System {
 public:
  std::string WindowsDirectory() override;
  std::string SystemDirectory() override;
  std::string ModulePath() override;
  std::string CommandLine() override;
  int KeyboardSubtype() override;
  std::optional<std::string> FileVersionString(const std::string& path) override;
  bool IsLeadByte(unsigned char byte) override;
  std::string AnsiToUtf8(const std::string& ansi) override;
};

}  // namespace setup::win32
