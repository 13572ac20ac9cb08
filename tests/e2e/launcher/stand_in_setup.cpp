// Stands in for the installer in the launcher's end-to-end scenarios: each start appends one
// line to the file named by the LAUNCHER_MARKER environment variable, in UTF-8:
//   cwd=<current folder>|exe=<own path>|args=<command line after the program name>
// so a scenario can tell how often, from where and with what it was started.
#include <windows.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size, nullptr, nullptr);
  return out;
}

// The command line without the program name, which may be quoted.
std::wstring Arguments() {
  const wchar_t* line = GetCommandLineW();
  if (*line == L'"') {
    ++line;
    while (*line && *line != L'"') ++line;
    if (*line) ++line;
  } else {
    while (*line && *line != L' ' && *line != L'\t') ++line;
  }
  while (*line == L' ' || *line == L'\t') ++line;
  return line;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t marker[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"LAUNCHER_MARKER", marker, MAX_PATH)) return 1;
  wchar_t folder[MAX_PATH] = {}, own[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  GetModuleFileNameW(nullptr, own, MAX_PATH);
  const std::string line = "cwd=" + Utf8(folder) + "|exe=" + Utf8(own) + "|args=" + Utf8(Arguments()) + "\n";
  HANDLE file = CreateFileW(marker, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  const bool ok =
      WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) && written == line.size();
  CloseHandle(file);
  return ok ? 0 : 1;
}
