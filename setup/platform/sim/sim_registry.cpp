// The simulated registry: two trees of keys with values, a handle table, and injected refusals.
#include "setup/platform/sim/sim_registry.h"

#include <algorithm>
#include <functional>

#include "setup/platform/sim/ansi_path.h"

namespace setup {

namespace {
constexpr std::size_t kLongestKeyName = 255;
}  // namespace

struct SimRegistry::Key {
  std::string name;
  std::string path;  // folded, from the root's short name: "HKLM\SOFTWARE\VENDOR"
  bool deleted = false;
  std::map<std::string, std::shared_ptr<Key>> subkeys;  // by folded name: enumeration order
  std::map<std::string, RegistryValue> values;          // by folded name
};

SimRegistry::SimRegistry() : currentUser_(std::make_shared<Key>()), localMachine_(std::make_shared<Key>()) {
  currentUser_->path = "HKCU";
  localMachine_->path = "HKLM";
}

SimRegistry::~SimRegistry() = default;

std::shared_ptr<SimRegistry::Key> SimRegistry::RootKey(KeyHandle root) const {
  if (root == kHkeyCurrentUser) return currentUser_;
  if (root == kHkeyLocalMachine) return localMachine_;
  return nullptr;
}

std::shared_ptr<SimRegistry::Key> SimRegistry::KeyOfHandle(KeyHandle handle) {
  if (std::shared_ptr<Key> root = RootKey(handle)) return root;
  const auto found = handles_.find(handle);
  if (found == handles_.end()) {
    ++badHandleUses_;
    return nullptr;
  }
  return found->second->deleted ? nullptr : found->second;
}

// A key path splits at "\" characters (never at a trail byte); one final "\" is allowed, a
// leading one or an empty name between two is refused, and names are limited in characters.
std::optional<std::vector<std::string>> SimRegistry::SplitKeyPath(const std::string& path) {
  std::vector<std::string> parts;
  if (path.empty()) return parts;
  if (path[0] == '\\') return std::nullopt;
  std::string part;
  std::size_t characters = 0;
  for (const std::string& c : SplitCp932Characters(path)) {
    if (c == "\\") {
      if (part.empty() || characters > kLongestKeyName) return std::nullopt;
      parts.push_back(part);
      part.clear();
      characters = 0;
    } else {
      part += c;
      ++characters;
    }
  }
  if (characters > kLongestKeyName) return std::nullopt;
  if (!part.empty()) parts.push_back(part);
  return parts;
}

std::shared_ptr<SimRegistry::Key> SimRegistry::Walk(std::shared_ptr<Key> from, const std::vector<std::string>& parts) {
  std::shared_ptr<Key> key = std::move(from);
  for (const std::string& part : parts) {
    if (!key) return nullptr;
    const auto found = key->subkeys.find(FoldName(part));
    key = found == key->subkeys.end() ? nullptr : found->second;
  }
  return key;
}

std::shared_ptr<SimRegistry::Key> SimRegistry::MakeKeys(std::shared_ptr<Key> from,
                                                        const std::vector<std::string>& parts) {
  std::shared_ptr<Key> key = std::move(from);
  for (const std::string& part : parts) {
    std::shared_ptr<Key>& slot = key->subkeys[FoldName(part)];
    if (!slot) {
      slot = std::make_shared<Key>();
      slot->name = part;
      slot->path = key->path + "\\" + FoldName(part);
    }
    key = slot;
  }
  return key;
}

bool SimRegistry::Denied(const Key& parent, const std::vector<std::string>& parts) const {
  std::string target = parent.path;
  for (const std::string& part : parts) target += "\\" + FoldName(part);
  return std::any_of(keyFaults_.begin(), keyFaults_.end(), [&](const std::string& fault) {
    return target == fault || target.compare(0, fault.size() + 1, fault + "\\") == 0;
  });
}

KeyHandle SimRegistry::Issue(std::shared_ptr<Key> key) {
  const KeyHandle handle = nextHandle_;
  nextHandle_ += 4;
  handles_[handle] = std::move(key);
  return handle;
}

std::optional<CreatedKey> SimRegistry::CreateKey(KeyHandle parent, const std::string& path) {
  std::shared_ptr<Key> from = KeyOfHandle(parent);
  const std::optional<std::vector<std::string>> parts = SplitKeyPath(path);
  if (from == nullptr || !parts || Denied(*from, *parts)) return std::nullopt;
  std::size_t existing = 0;
  for (std::shared_ptr<Key> key = from; existing < parts->size(); ++existing) {
    const auto found = key->subkeys.find(FoldName((*parts)[existing]));
    if (found == key->subkeys.end()) break;
    key = found->second;
  }
  return CreatedKey{Issue(MakeKeys(from, *parts)), parts->size() - existing};
}

std::optional<KeyHandle> SimRegistry::OpenKey(KeyHandle parent, const std::string& path) {
  std::shared_ptr<Key> from = KeyOfHandle(parent);
  const std::optional<std::vector<std::string>> parts = SplitKeyPath(path);
  if (from == nullptr || !parts || Denied(*from, *parts)) return std::nullopt;
  std::shared_ptr<Key> found = Walk(from, *parts);
  if (!found) return std::nullopt;
  return Issue(found);
}

bool SimRegistry::SetValue(KeyHandle key, RegistryValue value) {
  std::shared_ptr<Key> target = KeyOfHandle(key);
  if (target == nullptr || valueFaults_.count(FoldName(value.name)) > 0) return false;
  target->values[FoldName(value.name)] = std::move(value);
  return true;
}

bool SimRegistry::SetString(KeyHandle key, const std::string& name, const std::string& value) {
  return SetValue(key, RegistryValue{name, RegistryValueType::String, value, 0});
}

bool SimRegistry::SetDword(KeyHandle key, const std::string& name, std::uint32_t value) {
  return SetValue(key, RegistryValue{name, RegistryValueType::Dword, std::string(), value});
}

std::optional<std::string> SimRegistry::StringValue(KeyHandle key, const std::string& name) {
  const std::shared_ptr<Key> target = KeyOfHandle(key);
  if (target == nullptr) return std::nullopt;
  const auto found = target->values.find(FoldName(name));
  if (found == target->values.end() || found->second.type != RegistryValueType::String) return std::nullopt;
  return found->second.text;
}

std::vector<std::string> SimRegistry::SubkeyNames(KeyHandle key) {
  std::vector<std::string> names;
  const std::shared_ptr<Key> target = KeyOfHandle(key);
  if (target == nullptr) return names;
  for (const auto& [folded, child] : target->subkeys) names.push_back(child->name);
  return names;
}

bool SimRegistry::DeleteKey(KeyHandle parent, const std::string& path) {
  std::shared_ptr<Key> from = KeyOfHandle(parent);
  const std::optional<std::vector<std::string>> parts = SplitKeyPath(path);
  if (from == nullptr || !parts || parts->empty() || Denied(*from, *parts)) return false;
  std::shared_ptr<Key> target = Walk(from, *parts);
  if (!target || !target->subkeys.empty()) return false;
  std::vector<std::string> parentParts = *parts;
  parentParts.pop_back();
  std::shared_ptr<Key> owner = Walk(from, parentParts);
  target->deleted = true;
  owner->subkeys.erase(FoldName(parts->back()));
  return true;
}

void SimRegistry::CloseKey(KeyHandle key) {
  if (RootKey(key)) return;
  if (handles_.erase(key) == 0) ++badHandleUses_;
}

// ---- Test helpers -------------------------------------------------------------------------

bool SimRegistry::KeyExists(KeyHandle root, const std::string& path) const {
  const std::optional<std::vector<std::string>> parts = SplitKeyPath(path);
  return parts && Walk(RootKey(root), *parts) != nullptr;
}

void SimRegistry::AddKey(KeyHandle root, const std::string& path) {
  const std::optional<std::vector<std::string>> parts = SplitKeyPath(path);
  if (std::shared_ptr<Key> from = RootKey(root); from && parts) MakeKeys(from, *parts);
}

void SimRegistry::AddString(KeyHandle root, const std::string& path, const std::string& name,
                            const std::string& value) {
  const std::optional<std::vector<std::string>> parts = SplitKeyPath(path);
  std::shared_ptr<Key> from = RootKey(root);
  if (!from || !parts) return;
  MakeKeys(from, *parts)->values[FoldName(name)] = RegistryValue{name, RegistryValueType::String, value, 0};
}

void SimRegistry::AddDword(KeyHandle root, const std::string& path, const std::string& name, std::uint32_t value) {
  const std::optional<std::vector<std::string>> parts = SplitKeyPath(path);
  std::shared_ptr<Key> from = RootKey(root);
  if (!from || !parts) return;
  MakeKeys(from, *parts)->values[FoldName(name)] = RegistryValue{name, RegistryValueType::Dword, std::string(), value};
}

const RegistryValue* SimRegistry::FindValue(KeyHandle root, const std::string& path, const std::string& name) const {
  const std::optional<std::vector<std::string>> parts = SplitKeyPath(path);
  const std::shared_ptr<Key> key = parts ? Walk(RootKey(root), *parts) : nullptr;
  if (!key) return nullptr;
  const auto found = key->values.find(FoldName(name));
  return found == key->values.end() ? nullptr : &found->second;
}

std::optional<std::string> SimRegistry::StringValue(KeyHandle root, const std::string& path,
                                                    const std::string& name) const {
  const RegistryValue* value = FindValue(root, path, name);
  if (value == nullptr || value->type != RegistryValueType::String) return std::nullopt;
  return value->text;
}

std::optional<std::uint32_t> SimRegistry::DwordValue(KeyHandle root, const std::string& path,
                                                     const std::string& name) const {
  const RegistryValue* value = FindValue(root, path, name);
  if (value == nullptr || value->type != RegistryValueType::Dword) return std::nullopt;
  return value->number;
}

std::vector<RegistryValue> SimRegistry::Values(KeyHandle root, const std::string& path) const {
  std::vector<RegistryValue> values;
  const std::optional<std::vector<std::string>> parts = SplitKeyPath(path);
  const std::shared_ptr<Key> key = parts ? Walk(RootKey(root), *parts) : nullptr;
  if (!key) return values;
  for (const auto& [folded, value] : key->values) values.push_back(value);
  return values;
}

std::vector<std::string> SimRegistry::AllKeys(KeyHandle root) const {
  std::vector<std::string> paths;
  std::function<void(const Key&, const std::string&)> visit = [&](const Key& key, const std::string& prefix) {
    for (const auto& [folded, child] : key.subkeys) {
      // A copy: the recursion appends to paths, which may move its strings.
      const std::string path = prefix.empty() ? child->name : prefix + "\\" + child->name;
      paths.push_back(path);
      visit(*child, path);
    }
  };
  if (const std::shared_ptr<Key> top = RootKey(root)) visit(*top, std::string());
  return paths;
}

int SimRegistry::OpenHandleCount() const { return static_cast<int>(handles_.size()); }

int SimRegistry::BadHandleUses() const { return badHandleUses_; }

void SimRegistry::InjectKeyFault(KeyHandle root, const std::string& path) {
  const std::shared_ptr<Key> top = RootKey(root);
  const std::optional<std::vector<std::string>> parts = SplitKeyPath(path);
  if (!top || !parts) return;
  std::string fault = top->path;
  for (const std::string& part : *parts) fault += "\\" + FoldName(part);
  keyFaults_.insert(fault);
}

void SimRegistry::InjectValueFault(const std::string& name) { valueFaults_.insert(FoldName(name)); }

void SimRegistry::ClearFaults() {
  keyFaults_.clear();
  valueFaults_.clear();
}

}  // namespace setup
