// GetSpecialFolderPath and GetRootKey.
#include "setup/script/installed_places.h"

#include "setup/script/text.h"

namespace setup {

std::optional<std::string> GetSpecialFolderPath(Platform& platform, int csidl) {
  return platform.shell.SpecialFolderPath(csidl);
}

KeyHandle GetRootKey(std::string_view name) {
  return EqualsIgnoringAsciiCase(name, "HKEY_LOCAL_MACHINE") ? kHkeyLocalMachine : kHkeyCurrentUser;
}

std::string RootKeyName(KeyHandle root) {
  return root == kHkeyLocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

}  // namespace setup
