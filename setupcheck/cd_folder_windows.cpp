// Reading the CD image folder on Windows: the wide-character listing gives every name whatever
// the system's code page, and each is converted to Shift-JIS (code page 932) as the installer's
// script names it; sizes and attributes come from the listing itself. Junctions and symbolic
// links (reparse points, NTFS on Windows 2000 and later) are listed, not followed.
#include <windows.h>

#include <algorithm>

#include "setupcheck/cd_folder.h"

namespace setupcheck {

namespace {

constexpr UINT kShiftJis = 932;

std::wstring Wide(const std::string& utf8) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  return wide;
}

std::string Narrow(const std::wstring& wide, UINT codePage, bool* lossy) {
  BOOL defaultUsed = FALSE;
  BOOL* usedFlag = codePage == CP_UTF8 ? nullptr : &defaultUsed;
  // Without WC_NO_BEST_FIT_CHARS Windows writes "e" for "é" and reports nothing lost.
  const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const int length =
      WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, usedFlag);
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), text.data(), length, nullptr,
                      usedFlag);
  if (lossy != nullptr) *lossy = defaultUsed != FALSE;
  return text;
}

// The command line gives the root in the system's ANSI code page; diskPath is kept in UTF-8.
std::string AnsiToUtf8(const std::string& ansi) {
  const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), length);
  return Narrow(wide, CP_UTF8, nullptr);
}

// prefix: the folder's path below the root in Shift-JIS; shownPrefix: the same in UTF-8.
void Walk(const std::wstring& folder, const std::string& prefix, const std::string& shownPrefix, CdFolder& cd) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    bool lossy = false;
    const std::string shiftJis = Narrow(name, kShiftJis, &lossy);
    const std::wstring full = folder + L"\\" + name;
    if (lossy) {
      cd.untranslatable.push_back(shownPrefix + Narrow(name, CP_UTF8, nullptr));
      continue;
    }
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
      cd.links.push_back(shownPrefix + Narrow(name, CP_UTF8, nullptr));
      continue;
    }
    CdEntry entry;
    entry.path = prefix + shiftJis;
    entry.diskPath = Narrow(full, CP_UTF8, nullptr);
    entry.attributes = found.dwFileAttributes;
    entry.size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    cd.entries.push_back(entry);
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
      Walk(full, entry.path + "\\", shownPrefix + Narrow(name, CP_UTF8, nullptr) + "\\", cd);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

}  // namespace

std::optional<CdFolder> ReadCdFolder(const std::string& root) {
  if (!IsDiskFolder(root)) return std::nullopt;
  CdFolder cd;
  std::wstring wideRoot = Wide(AnsiToUtf8(root));
  while (!wideRoot.empty() && (wideRoot.back() == L'\\' || wideRoot.back() == L'/')) wideRoot.pop_back();
  Walk(wideRoot, "", "", cd);
  return cd;
}

std::string DiskPathOfArgument(const std::string& argument) { return AnsiToUtf8(argument); }

std::optional<std::string> ReadDiskFile(const std::string& diskPath, std::size_t limit) {
  HANDLE file = CreateFileW(Wide(diskPath).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  DWORD read = 0;
  bool ok = true;
  while (bytes.size() < limit &&
         (ok = ReadFile(file, buffer, static_cast<DWORD>(std::min(sizeof buffer, limit - bytes.size())), &read,
                        nullptr) != FALSE) &&
         read > 0) {
    bytes.append(buffer, read);
  }
  CloseHandle(file);
  if (!ok) return std::nullopt;
  return bytes;
}

bool IsDiskFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(AnsiToUtf8(path)).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool WriteDiskFile(const std::string& diskPath, const std::string& bytes) {
  HANDLE file =
      CreateFileW(Wide(diskPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != FALSE &&
                  written == bytes.size();
  CloseHandle(file);
  return ok;
}

void RemoveDiskFile(const std::string& diskPath) { DeleteFileW(Wide(diskPath).c_str()); }

std::optional<std::string> Utf8ToShiftJis(const std::string& utf8) {
  bool lossy = false;
  const std::string text = Narrow(Wide(utf8), kShiftJis, &lossy);
  if (lossy) return std::nullopt;
  return text;
}

bool DiskPathExists(const std::string& path) {
  return GetFileAttributesW(Wide(AnsiToUtf8(path)).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace setupcheck
