// The console on a POSIX host: the locale's environment names the language, and standard output
// takes the UTF-8 bytes as they are.
#include <cstdio>
#include <cstdlib>

#include "setupcheck/console_output.h"

namespace setupcheck {

Language UserLanguage() {
  return LanguageOfLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

void WriteOutput(const std::string& utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fflush(stdout);
}

}  // namespace setupcheck
