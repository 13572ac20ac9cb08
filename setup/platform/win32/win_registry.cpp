// Keys are handed to the core as integers; this file turns them back into HKEYs.
#include "setup/platform/win32/win_registry.h"

#include "setup/platform/win32/windows_api.h"

#include <vector>

namespace setup::win32 {
namespace {

// The seam spells the roots as their 32-bit values; in a 64-bit process the system's
// predefined handles are those values sign-extended, so they are mapped, not cast.
HKEY ToHkey(KeyHandle key) {
  if (key == kHkeyCurrentUser) return HKEY_CURRENT_USER;
  if (key == kHkeyLocalMachine) return HKEY_LOCAL_MACHINE;
  return reinterpret_cast<HKEY>(key);
}

KeyHandle ToKeyHandle(HKEY key) {
  if (key == HKEY_CURRENT_USER) return kHkeyCurrentUser;
  if (key == HKEY_LOCAL_MACHINE) return kHkeyLocalMachine;
  return reinterpret_cast<KeyHandle>(key);
}

bool IsPredefinedRoot(HKEY key) {
  const auto value = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(key));
  return value >= 0x80000000u && value <= 0x800000FFu;
}

}  // namespace

namespace {

// Creates or opens one key; its disposition tells whether it was new.
LONG CreateOne(HKEY parent, const std::string& path, REGSAM access, HKEY* opened, bool* made) {
  DWORD disposition = REG_OPENED_EXISTING_KEY;
  const LONG result =
      RegCreateKeyExA(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, opened, &disposition);
  *made = result == ERROR_SUCCESS && disposition == REG_CREATED_NEW_KEY;
  return result;
}

// The ends of the path's parent levels: every "" that follows a name, stepping over double-byte
// characters (a trail byte may be 0x5C).
std::vector<std::size_t> ParentLevelEnds(const std::string& path) {
  std::vector<std::size_t> ends;
  bool afterName = false;
  for (std::size_t at = 0; at < path.size(); ++at) {
    const bool separator = path[at] == '\\';
    if (separator && afterName && at + 1 < path.size()) ends.push_back(at);
    if (!separator && IsDBCSLeadByte(static_cast<BYTE>(path[at])) && at + 1 < path.size()) ++at;
    afterName = !separator;
  }
  return ends;
}

}  // namespace

// The system reports a new key for the last level only, so the parents are created one by one
// first. They are opened for reading alone: a parent the user may not change (a system key on
// Windows Vista and later) must not stop a key below it that he may change.
std::optional<CreatedKey> WinRegistry::CreateKey(KeyHandle parent, const std::string& path) {
  HKEY opened = nullptr;
  if (path.empty()) {
    // RegCreateKeyExA on Windows 9x refuses an empty path; opening gives the parent itself.
    if (RegOpenKeyExA(ToHkey(parent), "", 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS) return std::nullopt;
    return CreatedKey{ToKeyHandle(opened), 0};
  }
  std::vector<std::string> made;
  bool isNew = false;
  for (const std::size_t end : ParentLevelEnds(path)) {
    const std::string level = path.substr(0, end);
    if (CreateOne(ToHkey(parent), level, KEY_QUERY_VALUE, &opened, &isNew) != ERROR_SUCCESS) break;
    RegCloseKey(opened);
    if (isNew) made.push_back(level);
  }
  if (CreateOne(ToHkey(parent), path, KEY_ALL_ACCESS, &opened, &isNew) != ERROR_SUCCESS) {
    // A path the system refuses as a whole leaves none of its parents behind.
    for (auto level = made.rbegin(); level != made.rend(); ++level) RegDeleteKeyA(ToHkey(parent), level->c_str());
    return std::nullopt;
  }
  return CreatedKey{ToKeyHandle(opened), made.size() + (isNew ? 1 : 0)};
}

// Read access is all its callers need: RegDeleteKeyA takes no right on the parent's handle. Full
// access, which asks for WRITE_DAC and WRITE_OWNER too, can be refused where reading is allowed:
// to a user without administrator rights on NT, and on the keys the system owns from Vista on.
std::optional<KeyHandle> WinRegistry::OpenKey(KeyHandle parent, const std::string& path) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(ToHkey(parent), path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return std::nullopt;
  return ToKeyHandle(opened);
}

bool WinRegistry::SetString(KeyHandle key, const std::string& name, const std::string& value) {
  // The stored length counts the terminating NUL, as readers of REG_SZ values expect.
  return RegSetValueExA(ToHkey(key), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool WinRegistry::SetDword(KeyHandle key, const std::string& name, std::uint32_t value) {
  const DWORD data = value;
  return RegSetValueExA(ToHkey(key), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data)) ==
         ERROR_SUCCESS;
}

std::optional<std::string> WinRegistry::StringValue(KeyHandle key, const std::string& name) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
    return std::nullopt;
  // One byte more than the value's size: a value stored without its NUL still ends in one.
  std::string text(size + 1, '\0');
  if (RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&text[0]), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ)
    return std::nullopt;
  text.resize(text.find('\0'));
  return text;
}

std::vector<std::string> WinRegistry::SubkeyNames(KeyHandle key) {
  std::vector<std::string> names;
  DWORD count = 0, longest = 0;
  if (RegQueryInfoKeyA(ToHkey(key), nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr) != ERROR_SUCCESS) {
    return names;
  }
  // Windows NT gives the longest name in characters even to the ANSI call, and a double-byte
  // character takes two bytes of the name's room: room for twice the length and the NUL.
  const DWORD room = 2 * longest + 1;
  std::vector<char> buffer(room, '\0');
  for (DWORD index = 0; index < count; ++index) {
    DWORD length = room;
    if (RegEnumKeyExA(ToHkey(key), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
      names.emplace_back(buffer.data(), length);
  }
  return names;
}

bool WinRegistry::DeleteKey(KeyHandle parent, const std::string& path) {
  return RegDeleteKeyA(ToHkey(parent), path.c_str()) == ERROR_SUCCESS;
}

void WinRegistry::CloseKey(KeyHandle key) {
  HKEY handle = ToHkey(key);
  if (handle == nullptr || IsPredefinedRoot(handle)) return;
  RegCloseKey(handle);
}

}  // namespace setup::win32
