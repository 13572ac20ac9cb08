// Encoding conversions for window texts and data text.
#include "setup/platform/win32/wide_text.h"

#include <vector>

namespace setup::win32 {

std::wstring ToWide(const std::string& text, UINT codePage) {
  if (text.empty()) return std::wstring();
  const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
  return wide;
}

std::string FromWide(const std::wstring& text, UINT codePage) {
  if (text.empty()) return std::string();
  const int length =
      WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  if (length <= 0) return std::string();
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &narrow[0], length, nullptr, nullptr);
  return narrow;
}

void SetWindowTextUtf8(HWND window, const std::string& textUtf8) {
  SetWindowTextW(window, Utf8ToWide(textUtf8).c_str());
}

void SetWindowTextAnsi(HWND window, const std::string& textAnsi) {
  SetWindowTextW(window, AnsiToWide(textAnsi).c_str());
}

std::wstring WindowTextWide(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return std::wstring();
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, buffer.data(), length + 1);
  return std::wstring(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

}  // namespace setup::win32
