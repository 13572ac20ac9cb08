// GetSpecialFolderPath and GetRootKey.
#include "setup/app/shared_routines.h"

#include "setup/script/text.h"

namespace setup {

std::string GetSpecialFolderPath(Platform& platform, int csidl) { return platform.shell.SpecialFolderPath(csidl); }

KeyHandle GetRootKey(std::string_view name) {
  return EqualsIgnoringAsciiCase(name, "HKEY_LOCAL_MACHINE") ? kHkeyLocalMachine : kHkeyCurrentUser;
}

}  // namespace setup
