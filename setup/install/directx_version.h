// GetDirectXVersion: the installed DirectX major version, read from DDRAW.DLL's FileVersion
// and, on Windows 2000 and XP, from the registry.
#pragma once

#include <string>
#include <string_view>

#include "setup/platform/platform.h"

namespace setup {

// The newest DirectX that any Windows reports.
constexpr int kNewestDirectX = 12;

// 0 when the version cannot be found out. On Windows 2000 and XP the registry's DirectX
// version counts where it is newer than the 8 that DDRAW.DLL's version stands for.
int GetDirectXVersion(Platform& platform);

// The version a FileVersion string stands for: "4.07.00.0700" is 7, "5..." is 8, the Windows
// versions from Vista on ("6.1.7600.16385 (win7_rtm...)") the DirectX of that Windows, else 0.
int DirectXVersionFromFileVersion(std::string_view fileVersion);

// Where the DirectX setup lies on the CD-ROM: "Q:\DIRECTX\DXSETUP.EXE", or below the UNC root.
std::string DirectXSetupPath(const std::string& sourceRoot);

}  // namespace setup
