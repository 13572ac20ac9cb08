// Code page 932 conversion: iconv on POSIX hosts; on Windows, whose C library has no iconv, the
// system's own code page 932 tables. Kept apart so that <windows.h> meets no other sim header.
#include "setup/platform/sim/cp932_text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <vector>
#endif

namespace setup {

#ifdef _WIN32

std::optional<std::string> Cp932ToUtf8(const std::string& ansi) {
  if (ansi.empty()) return std::string();
  const int size = static_cast<int>(ansi.size());
  const int wideLength = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, ansi.data(), size, nullptr, 0);
  if (wideLength == 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, ansi.data(), size, wide.data(), wideLength);
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

#else

std::optional<std::string> Cp932ToUtf8(const std::string& ansi) {
  iconv_t converter = iconv_open("UTF-8", "CP932");
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string input = ansi;
  std::vector<char> output(ansi.size() * 4 + 4);
  char* in = input.data();
  char* out = output.data();
  std::size_t inLeft = input.size();
  std::size_t outLeft = output.size();
  const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  if (result == static_cast<std::size_t>(-1)) return std::nullopt;
  return std::string(output.data(), output.size() - outLeft);
}

#endif

}  // namespace setup
