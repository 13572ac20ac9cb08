// Conversions between the three encodings the Win32 layer meets: UTF-8 (the program's own
// message catalogue), the system ANSI code page (data: paths, script values) and UTF-16
// (what the wide window calls take).
#pragma once

#include "setup/platform/win32/windows_api.h"

#include <string>

namespace setup::win32 {

std::wstring ToWide(const std::string& text, UINT codePage);
std::string FromWide(const std::wstring& text, UINT codePage);

inline std::wstring Utf8ToWide(const std::string& text) { return ToWide(text, CP_UTF8); }
inline std::wstring AnsiToWide(const std::string& text) { return ToWide(text, CP_ACP); }

}  // namespace setup::win32
