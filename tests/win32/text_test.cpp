// Checks of the layer's own UTF-8 conversion, against the system's where the system has one.
#include "setup/platform/win32/windows_api.h"

#include <string>

#include "setup/platform/win32/wide_text.h"
#include "tests/win32/check.h"
#include "tests/win32/layer_tests.h"

namespace setup::win32::test {
namespace {

WideString UnitsOf(char32_t value) {
  if (value < 0x10000) return WideString(1, static_cast<wchar_t>(value));
  return {static_cast<wchar_t>(0xD800 + ((value - 0x10000) >> 10)),
          static_cast<wchar_t>(0xDC00 + ((value - 0x10000) & 0x3FF))};
}

std::string SystemUtf8(const WideString& wide) {
  char buffer[8] = {};
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), buffer, sizeof(buffer),
                                         nullptr, nullptr);
  return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

void TestEveryCodePoint() {
  int mismatches = 0;
  for (char32_t value = 1; value <= 0x10FFFF; ++value) {
    if (value >= 0xD800 && value <= 0xDFFF) continue;
    const WideString wide = UnitsOf(value);
    const std::string utf8 = SystemUtf8(wide);
    if (WideToUtf8(wide) != utf8 || Utf8ToWide(utf8) != wide) {
      if (++mismatches <= 3) ReportFailure(__FILE__, __LINE__, "code point " + std::to_string(value));
    }
  }
  CHECK_EQ(mismatches, 0);
}

}  // namespace

void RunTextTests() {
  BeginGroup("text: UTF-8 to and from UTF-16");
  TestEveryCodePoint();
  CHECK_EQ(Utf8ToWide("インストール"), WideString(L"インストール"));
  CHECK_EQ(WideToUtf8(L"星の海 セットアップ"), std::string("星の海 セットアップ"));
  // Malformed input: each byte that starts no valid sequence becomes one replacement character.
  CHECK_EQ(Utf8ToWide("a\xFF"
                      "b"),
           WideString(L"a\xFFFD"
                      L"b"));
  CHECK_EQ(Utf8ToWide("\xE6\x98"), WideString(L"\xFFFD\xFFFD"));
  CHECK_EQ(Utf8ToWide("\xC0\xAF"), WideString(L"\xFFFD\xFFFD"));
  CHECK_EQ(Utf8ToWide("\xED\xA0\x80"), WideString(L"\xFFFD\xFFFD\xFFFD"));
  CHECK_EQ(Utf8ToWide("\xF4\x90\x80\x80"), WideString(L"\xFFFD\xFFFD\xFFFD\xFFFD"));
  CHECK_EQ(WideToUtf8(WideString(1, static_cast<wchar_t>(0xD800))), std::string("\xEF\xBF\xBD"));
  CHECK_EQ(WideToUtf8(WideString(1, static_cast<wchar_t>(0xDC00)) + L"x"), std::string("\xEF\xBF\xBDx"));
  CHECK_EQ(Utf8ToWide(std::string()), WideString());
}

}  // namespace setup::win32::test
