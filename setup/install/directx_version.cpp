// The DirectX check's version lookup.
#include "setup/install/directx_version.h"

#include <optional>

namespace setup {

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

int DirectXVersionFromFileVersion(std::string_view fileVersion) {
  if (!fileVersion.empty() && fileVersion[0] == '5') return 8;
  if (fileVersion.size() >= 4 && IsDigit(fileVersion[2]) && IsDigit(fileVersion[3])) {
    return (fileVersion[2] - '0') * 10 + (fileVersion[3] - '0');
  }
  return 0;
}

int GetDirectXVersion(Platform& platform) {
  const std::string path = platform.system.SystemDirectory() + "\\DDRAW.DLL";
  const std::optional<std::string> fileVersion = platform.system.FileVersionString(path);
  return fileVersion ? DirectXVersionFromFileVersion(*fileVersion) : 0;
}

std::string DirectXSetupPath(const std::string& sourceRoot) {
  const bool unc = !sourceRoot.empty() && sourceRoot[0] == '\\';
  return sourceRoot + (unc ? "\\DIRECTX\\DXSETUP.EXE" : ":\\DIRECTX\\DXSETUP.EXE");
}

}  // namespace setup
