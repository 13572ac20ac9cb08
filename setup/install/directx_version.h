// GetDirectXVersion: the installed DirectX major version, read from DDRAW.DLL's FileVersion.
#pragma once

#include <string>
#include <string_view>

#include "setup/platform/platform.h"

namespace setup {

// 0 when the version cannot be found out.
int GetDirectXVersion(Platform& platform);

// The version a FileVersion string stands for: "5..." is 8, "4.07.00.0700" is 7, else 0.
int DirectXVersionFromFileVersion(std::string_view fileVersion);

// Where the DirectX setup lies on the CD-ROM: "Q:\DIRECTX\DXSETUP.EXE", or below the UNC root.
std::string DirectXSetupPath(const std::string& sourceRoot);

}  // namespace setup
