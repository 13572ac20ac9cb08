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

std::optional<CreatedKey> WinRegistry::CreateKey(KeyHandle parent, const std::string& path) {
  HKEY opened = nullptr;
  LONG result;
  DWORD disposition = REG_OPENED_EXISTING_KEY;
  if (path.empty()) {
    // RegCreateKeyExA on Windows 9x refuses an empty path; opening gives the parent itself.
    result = RegOpenKeyExA(ToHkey(parent), "", 0, KEY_ALL_ACCESS, &opened);
  } else {
    result = RegCreateKeyExA(ToHkey(parent), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                             &opened, &disposition);
  }
  if (result != ERROR_SUCCESS) return std::nullopt;
  return CreatedKey{ToKeyHandle(opened), disposition == REG_CREATED_NEW_KEY};
}

std::optional<KeyHandle> WinRegistry::OpenKey(KeyHandle parent, const std::string& path) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(ToHkey(parent), path.c_str(), 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS) return std::nullopt;
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
