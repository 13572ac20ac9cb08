// Deleting registry keys with all their subkeys, and the keys the uninstaller never deletes.
#pragma once

#include <string>
#include <string_view>

#include "setup/platform/platform.h"

namespace setup {

// Deletes the key path below parent with its values and subkeys (subkeys from the last index
// down). A leading "\" is dropped. Failures are passed over.
void DeleteKeyTree(Registry& registry, KeyHandle parent, std::string_view path);

// True for a key path that a record must not be able to delete: empty, a root's direct child
// (SOFTWARE, Control Panel, ...), or one of the system's shared keys such as SOFTWARE\Microsoft,
// ...\Windows\CurrentVersion and the keys directly below it (Uninstall, Run, App Paths).
bool IsProtectedKeyPath(std::string_view path, System& system);

}  // namespace setup
