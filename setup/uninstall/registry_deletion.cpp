// Recursive key deletion and the guard against wiping shared parts of the registry.
#include "setup/uninstall/registry_deletion.h"

#include <vector>

#include "setup/script/paths.h"
#include "setup/script/text.h"

namespace setup {

namespace {

// The parts of a key path, upper-cased; empty parts (doubled or outer backslashes) dropped.
std::vector<std::string> PartsOf(std::string_view path, System& system) {
  std::vector<std::string> parts;
  for (std::string_view part : PathParts(path, system, PathKind::RegistryKey)) parts.push_back(ToUpperAscii(part));
  return parts;
}

bool StartsWith(const std::vector<std::string>& parts, std::initializer_list<const char*> prefix) {
  if (parts.size() < prefix.size()) return false;
  std::size_t i = 0;
  for (const char* part : prefix) {
    if (parts[i++] != part) return false;
  }
  return true;
}

// Trees whose upper levels belong to the system or to every program.
bool IsSharedKey(const std::vector<std::string>& parts) {
  const std::size_t n = parts.size();
  // Below the 32-bit view of a 64-bit system the same shared keys repeat.
  if (StartsWith(parts, {"SOFTWARE", "WOW6432NODE"})) {
    if (n == 2) return true;
    std::vector<std::string> rest(parts.begin() + 1, parts.end());
    rest[0] = "SOFTWARE";
    return IsSharedKey(rest);
  }
  if (n == 2 && (StartsWith(parts, {"SOFTWARE", "CLASSES"}) || StartsWith(parts, {"SOFTWARE", "POLICIES"}) ||
                 StartsWith(parts, {"SOFTWARE", "MICROSOFT"}))) {
    return true;
  }
  // System-owned roots: their direct children (CurrentControlSet, Desktop, ...) are shared too.
  if (n == 2 && (parts[0] == "SYSTEM" || parts[0] == "HARDWARE" || parts[0] == "SAM" || parts[0] == "SECURITY" ||
                 parts[0] == "CONTROL PANEL" || parts[0] == "APPEVENTS")) {
    return true;
  }
  if (StartsWith(parts, {"SOFTWARE", "MICROSOFT", "WINDOWS"}) ||
      StartsWith(parts, {"SOFTWARE", "MICROSOFT", "WINDOWS NT"})) {
    // Windows, its direct children such as CurrentVersion, and each key directly below
    // CurrentVersion (Uninstall, Run, App Paths, ...).
    if (n <= 4) return true;
    if (parts[3] == "CURRENTVERSION" && n <= 5) return true;
  }
  return false;
}

}  // namespace

bool IsProtectedKeyPath(std::string_view path, System& system) {
  const std::vector<std::string> parts = PartsOf(path, system);
  return parts.size() < 2 || IsSharedKey(parts);
}

void DeleteKeyTree(Registry& registry, KeyHandle parent, std::string_view path) {
  if (!path.empty() && path[0] == '\\') path.remove_prefix(1);
  const std::string keyPath(path);
  if (const std::optional<KeyHandle> key = registry.OpenKey(parent, keyPath)) {
    // From the last subkey to the first, as deleting by index would go.
    const std::vector<std::string> names = registry.SubkeyNames(*key);
    for (auto name = names.rbegin(); name != names.rend(); ++name) DeleteKeyTree(registry, *key, *name);
    registry.CloseKey(*key);
  }
  registry.DeleteKey(parent, keyPath);
}

}  // namespace setup
