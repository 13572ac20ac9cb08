// Conversions between the three encodings the Win32 layer meets: UTF-8 (the program's own
// message catalogue), the system ANSI code page (data: paths, script values) and UTF-16
// (what the wide window calls take).
#pragma once

#include "setup/platform/win32/windows_api.h"

#include <string>

namespace setup::win32 {

// UTF-16 text. Its own traits type makes it a string type of its own, which the compiler
// instantiates member by member as used, instead of linking the C++ library's complete
// ready-made wide string (some 35 KB of the program).
struct WideTraits : std::char_traits<wchar_t> {};
using WideString = std::basic_string<wchar_t, WideTraits>;

WideString ToWide(const std::string& text, UINT codePage);
std::string FromWide(const WideString& text, UINT codePage);

// UTF-8 is converted here rather than by the system: the first Windows 95 knows no CP_UTF8.
// Bytes that are not UTF-8 become U+FFFD.
WideString Utf8ToWide(const std::string& text);
std::string WideToUtf8(const WideString& text);
inline WideString AnsiToWide(const std::string& text) { return ToWide(text, CP_ACP); }

}  // namespace setup::win32
