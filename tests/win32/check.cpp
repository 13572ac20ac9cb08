// The check harness's reporting.
#include "tests/win32/check.h"

#include <windows.h>

namespace setup::win32::test {

int& FailureCount() {
  static int failures = 0;
  return failures;
}

void ReportFailure(const char* file, int line, const std::string& what) {
  ++FailureCount();
  std::printf("  FAILED %s:%d: %s\n", file, line, what.c_str());
  std::fflush(stdout);
}

void BeginGroup(const char* name) {
  std::printf("[%s]\n", name);
  std::fflush(stdout);
}

std::string PrintableNarrow(const std::string& text) { return "\"" + text + "\""; }

std::string PrintableWide(const WideString& text) {
  if (text.empty()) return "\"\"";
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0], length, nullptr, nullptr);
  return "\"" + utf8 + "\"";
}

}  // namespace setup::win32::test
