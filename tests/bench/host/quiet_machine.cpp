// The few answers of the quiet machine that are more than a constant.
#include "tests/bench/host/quiet_machine.h"

namespace bench {

bool QuietRegistry::CreateKey(setup::KeyHandle, const std::string&, setup::KeyHandle* key) {
  *key = next_++;
  return true;
}

std::string QuietShell::SpecialFolderPath(int csidl) {
  return csidl == setup::kCsidlPrograms ? "C:\\WINDOWS\\Start Menu\\Programs" : std::string();
}

}  // namespace bench
