// The few answers of the quiet machine that are more than a constant.
#include "tests/bench/host/quiet_machine.h"

namespace bench {

std::optional<std::string> QuietShell::SpecialFolderPath(int csidl) {
  if (csidl != setup::kCsidlPrograms) return std::nullopt;
  return "C:\\WINDOWS\\Start Menu\\Programs";
}

}  // namespace bench
