// The simulated machine's registry: HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE held in memory
// with case-insensitive key and value names, handles that must be closed, NT's refusal to delete
// a key that has subkeys, and keys or value names that can be made to fail.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "setup/platform/platform.h"

namespace setup {

enum class RegistryValueType { String, Dword };

struct RegistryValue {
  std::string name;  // as written; empty for the default value
  RegistryValueType type = RegistryValueType::String;
  std::string text;
  std::uint32_t number = 0;
};

class SimRegistry : public Registry {
 public:
  SimRegistry();
  ~SimRegistry() override;

  // Registry. Paths are backslash-separated below the handle's key; a leading "\" or an empty
  // component makes the call fail, a single trailing "\" is ignored. Every successful
  // CreateKey/OpenKey gives a new handle (also for an empty path) that must be closed; the two
  // root handles need no closing.
  std::optional<CreatedKey> CreateKey(KeyHandle parent, const std::string& path) override;
  std::optional<KeyHandle> OpenKey(KeyHandle parent, const std::string& path) override;
  bool SetString(KeyHandle key, const std::string& name, const std::string& value) override;
  bool SetDword(KeyHandle key, const std::string& name, std::uint32_t value) override;
  std::optional<std::string> StringValue(KeyHandle key, const std::string& name) override;
  // Subkeys in upper-cased name order; none for an unknown handle.
  std::vector<std::string> SubkeyNames(KeyHandle key) override;
  // Fails for a missing key, a key with subkeys, an empty path and a key under a fault. Handles
  // still open on a deleted key stop working.
  bool DeleteKey(KeyHandle parent, const std::string& path) override;
  // Closing an unknown or already closed handle is counted as a bad handle use.
  void CloseKey(KeyHandle key) override;

  // Test helpers (no handles involved). root is kHkeyCurrentUser or kHkeyLocalMachine; path
  // is below it ("SOFTWARE\Vendor"); an empty path is the root itself.
  bool KeyExists(KeyHandle root, const std::string& path) const;
  // Makes the key and its missing parents.
  void AddKey(KeyHandle root, const std::string& path);
  void AddString(KeyHandle root, const std::string& path, const std::string& name, const std::string& value);
  void AddDword(KeyHandle root, const std::string& path, const std::string& name, std::uint32_t value);
  // Nothing when the key or the value is missing, or the value has the other type.
  std::optional<std::string> StringValue(KeyHandle root, const std::string& path, const std::string& name) const;
  std::optional<std::uint32_t> DwordValue(KeyHandle root, const std::string& path, const std::string& name) const;
  std::vector<RegistryValue> Values(KeyHandle root, const std::string& path) const;
  // Full paths of every key below the root ("SOFTWARE\Vendor\Game"), parents before children.
  std::vector<std::string> AllKeys(KeyHandle root) const;

  // Handles given out and not yet closed (a leak when a step has returned), and calls made with
  // a handle that was never given out or was already closed.
  int OpenHandleCount() const;
  int BadHandleUses() const;

  // Fault injection. A key fault makes creating, opening and deleting that key and every key
  // below it fail (an empty path covers the whole root), as for a user without rights there.
  // A value fault makes writing a value of that name fail in any key. Both ignore letter case.
  void InjectKeyFault(KeyHandle root, const std::string& path);
  void InjectValueFault(const std::string& name);
  void ClearFaults();

 private:
  struct Key;

  std::shared_ptr<Key> RootKey(KeyHandle root) const;
  std::shared_ptr<Key> KeyOfHandle(KeyHandle handle);
  static std::optional<std::vector<std::string>> SplitKeyPath(const std::string& path);
  static std::shared_ptr<Key> Walk(std::shared_ptr<Key> from, const std::vector<std::string>& parts);
  static std::shared_ptr<Key> MakeKeys(std::shared_ptr<Key> from, const std::vector<std::string>& parts);
  bool Denied(const Key& parent, const std::vector<std::string>& parts) const;
  KeyHandle Issue(std::shared_ptr<Key> key);
  bool SetValue(KeyHandle key, RegistryValue value);
  const RegistryValue* FindValue(KeyHandle root, const std::string& path, const std::string& name) const;

  std::shared_ptr<Key> currentUser_;
  std::shared_ptr<Key> localMachine_;
  std::map<KeyHandle, std::shared_ptr<Key>> handles_;
  KeyHandle nextHandle_ = 0x1000;
  int badHandleUses_ = 0;
  std::set<std::string> keyFaults_;    // folded "HKLM\PATH" forms
  std::set<std::string> valueFaults_;  // folded names
};

}  // namespace setup
