// System facts through kernel32, user32 and version.dll (the last loaded from the system folder).
#include "setup/platform/win32/win_system.h"

#include "setup/platform/win32/windows_api.h"

#include <vector>

#include "setup/platform/win32/system_library.h"
#include "setup/platform/win32/wide_text.h"

namespace setup::win32 {
namespace {

constexpr UINT kFolderRoom = 255;

using SizeFunction = DWORD(WINAPI*)(LPCSTR, LPDWORD);
using InfoFunction = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
using QueryFunction = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);

struct VersionLibrary {
  SizeFunction size = nullptr;
  InfoFunction info = nullptr;
  QueryFunction query = nullptr;
  bool usable() const { return size != nullptr && info != nullptr && query != nullptr; }
};

template <typename Function>
Function Lookup(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Loaded once and kept for the process's life; version lookups are rare.
const VersionLibrary& Version() {
  static const VersionLibrary library = [] {
    VersionLibrary functions;
    HMODULE module = LoadSystemLibrary("version.dll");
    if (module == nullptr) return functions;
    functions.size = Lookup<SizeFunction>(module, "GetFileVersionInfoSizeA");
    functions.info = Lookup<InfoFunction>(module, "GetFileVersionInfoA");
    functions.query = Lookup<QueryFunction>(module, "VerQueryValueA");
    return functions;
  }();
  return library;
}

std::string FolderFrom(UINT(WINAPI* query)(LPSTR, UINT)) {
  char buffer[kFolderRoom] = {};
  const UINT length = query(buffer, kFolderRoom);
  if (length == 0 || length >= kFolderRoom) return std::string();
  return std::string(buffer, length);
}

// Four upper-case hexadecimal digits, as the version resource's string-block names use
// (a printf here would bring the C library's whole formatter into the program).
std::string UpperHex4(WORD value) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text(4, '0');
  for (int i = 3; i >= 0; --i, value = static_cast<WORD>(value >> 4)) text[i] = kDigits[value & 0xF];
  return text;
}

}  // namespace

std::string WinSystem::WindowsDirectory() { return FolderFrom(GetWindowsDirectoryA); }

std::string WinSystem::SystemDirectory() { return FolderFrom(GetSystemDirectoryA); }

std::string WinSystem::ModulePath() {
  std::vector<char> buffer(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::string();
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

std::string WinSystem::CommandLine() {
  const char* line = GetCommandLineA();
  return line != nullptr ? std::string(line) : std::string();
}

int WinSystem::KeyboardSubtype() { return GetKeyboardType(1); }

std::optional<std::string> WinSystem::FileVersionString(const std::string& path) {
  const VersionLibrary& version = Version();
  if (!version.usable()) return std::nullopt;
  DWORD ignored = 0;
  const DWORD size = version.size(path.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<char> block(size, '\0');
  if (!version.info(path.c_str(), 0, size, block.data())) return std::nullopt;

  void* translation = nullptr;
  UINT translationBytes = 0;
  if (!version.query(block.data(), "\\VarFileInfo\\Translation", &translation, &translationBytes) ||
      translation == nullptr || translationBytes < 4) {
    return std::nullopt;
  }
  const auto* pair = static_cast<const WORD*>(translation);  // language, then code page
  const std::string key = "\\StringFileInfo\\" + UpperHex4(pair[0]) + UpperHex4(pair[1]) + "\\FileVersion";

  void* text = nullptr;
  UINT textLength = 0;
  if (!version.query(block.data(), key.c_str(), &text, &textLength) || text == nullptr) return std::nullopt;
  return std::string(static_cast<const char*>(text));
}

bool WinSystem::IsLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

std::string WinSystem::AnsiToUtf8(const std::string& ansi) { return WideToUtf8(AnsiToWide(ansi)); }

}  // namespace setup::win32
