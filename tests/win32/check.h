// A minimal check harness for the layer test, which runs as a Windows program under Wine
// where the host's test framework is not built: failed checks are printed and counted.
#pragma once

#include "setup/platform/win32/wide_text.h"

#include <cstdio>
#include <string>
#include <type_traits>

namespace setup::win32::test {

int& FailureCount();
void ReportFailure(const char* file, int line, const std::string& what);
// Prints the group's name; failures that follow are listed under it.
void BeginGroup(const char* name);

std::string PrintableNarrow(const std::string& text);
std::string PrintableWide(const WideString& text);

template <typename T>
std::string Printable(const T& value) {
  if constexpr (std::is_same_v<T, bool>) {
    return value ? "true" : "false";
  } else if constexpr (std::is_enum_v<T>) {
    return std::to_string(static_cast<long long>(value));
  } else if constexpr (std::is_integral_v<T>) {
    return std::to_string(value);
  } else if constexpr (std::is_convertible_v<const T&, std::string>) {
    return PrintableNarrow(value);
  } else if constexpr (std::is_convertible_v<const T&, WideString>) {
    return PrintableWide(value);
  } else {
    return "(not printable)";
  }
}

}  // namespace setup::win32::test

#define CHECK(condition)                                                                   \
  do {                                                                                     \
    if (!(condition)) ::setup::win32::test::ReportFailure(__FILE__, __LINE__, #condition); \
  } while (0)

#define CHECK_EQ(actual, expected)                                                                           \
  do {                                                                                                       \
    const auto& actualValue = (actual);                                                                      \
    const auto& expectedValue = (expected);                                                                  \
    if (!(actualValue == expectedValue)) {                                                                   \
      ::setup::win32::test::ReportFailure(__FILE__, __LINE__,                                                \
                                          std::string(#actual " == " #expected ": got ") +                   \
                                              ::setup::win32::test::Printable(actualValue) + ", expected " + \
                                              ::setup::win32::test::Printable(expectedValue));               \
    }                                                                                                        \
  } while (0)
