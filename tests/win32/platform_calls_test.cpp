// Checks of the Win32 layer that the platform contract (tests/contract) cannot make through the
// seam: values as the registry stores them, system facts, shell links and setup.exe's
// resources, in a scratch folder under the temporary folder and a scratch key under
// HKEY_CURRENT_USER.
#include "setup/platform/win32/windows_api.h"

#include <objidl.h>
#include <shlobj.h>

#include <string>

#include "setup/platform/win32/win_file_system.h"
#include "setup/platform/win32/win_registry.h"
#include "setup/platform/win32/win_shell.h"
#include "setup/platform/win32/win_system.h"
#include "tests/win32/check.h"
#include "tests/win32/layer_tests.h"

namespace setup::win32::test {
namespace {

constexpr char kScratchKey[] = "Software\\CdSetupLayerTest";

std::string ScratchFolder() {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "layer-test-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string ReadStringValue(HKEY key, const char* name, DWORD* type, DWORD* size) {
  char data[256] = {};
  *size = sizeof(data);
  if (RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(data), size) != ERROR_SUCCESS) return "<none>";
  return std::string(data);
}

void TestRegistryValues(WinRegistry& registry) {
  BeginGroup("registry: keys and values");
  const KeyHandle key =
      registry.CreateKey(kHkeyCurrentUser, std::string(kScratchKey) + "\\Vendor\\Game").value_or(CreatedKey{}).handle;
  CHECK(key != 0);
  CHECK(registry.SetString(key, "Path", "C:\\My Game"));
  CHECK(registry.SetString(key, "", "default text"));
  CHECK(registry.SetDword(key, "Count", 12));
  registry.CloseKey(key);

  HKEY check = nullptr;
  CHECK(RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kScratchKey) + "\\Vendor\\Game").c_str(), 0, KEY_READ, &check) ==
        ERROR_SUCCESS);
  if (check != nullptr) {
    DWORD type = 0, size = 0;
    CHECK_EQ(ReadStringValue(check, "Path", &type, &size), std::string("C:\\My Game"));
    CHECK_EQ(type, static_cast<DWORD>(REG_SZ));
    CHECK_EQ(size, static_cast<DWORD>(sizeof("C:\\My Game")));
    // The ANSI query adds a missing terminator itself; the stored value shows whether it was written.
    DWORD wideSize = 0;
    CHECK(RegQueryValueExW(check, L"Path", nullptr, nullptr, nullptr, &wideSize) == ERROR_SUCCESS);
    CHECK_EQ(wideSize, static_cast<DWORD>(sizeof(L"C:\\My Game")));
    CHECK_EQ(ReadStringValue(check, "", &type, &size), std::string("default text"));
    DWORD count = 0, countSize = sizeof(count);
    CHECK(RegQueryValueExA(check, "Count", nullptr, &type, reinterpret_cast<BYTE*>(&count), &countSize) ==
          ERROR_SUCCESS);
    CHECK_EQ(type, static_cast<DWORD>(REG_DWORD));
    CHECK_EQ(count, static_cast<DWORD>(12));
    RegCloseKey(check);
  }

  CHECK(!registry.OpenKey(kHkeyCurrentUser, std::string(kScratchKey) + "\\Nothing"));
  // The DirectX version that DirectX 9.0c leaves on Windows XP and later, and Wine too.
  const KeyHandle directX = registry.OpenKey(kHkeyLocalMachine, "SOFTWARE\\Microsoft\\DirectX").value_or(0);
  CHECK_EQ(registry.StringValue(directX, "Version").value_or("<none>"), std::string("4.09.00.0904"));
  registry.CloseKey(directX);
  for (const char* below : {"\\Vendor\\Game", "\\Vendor", ""}) {
    CHECK(registry.DeleteKey(kHkeyCurrentUser, std::string(kScratchKey) + below));
  }
}

void TestSystem(WinSystem& system, WinFileSystem& files, const std::string& folder, const std::string& setupExe) {
  BeginGroup("system: folders, own path, command line, version resources, code page");
  const std::string windows = system.WindowsDirectory();
  CHECK(!windows.empty() && windows.back() != '\\');
  CHECK(files.DirectoryExists(windows));
  CHECK_EQ(Lower(system.SystemDirectory()).rfind(Lower(windows), 0), size_t{0});
  CHECK(EndsWith(Lower(system.ModulePath()), "\\win32_layer_test.exe"));
  CHECK(Lower(system.CommandLine()).find("win32_layer_test") != std::string::npos);
  const int subtype = system.KeyboardSubtype();
  CHECK(subtype >= 0);

  // The test's own resource has one English translation only, and a FileVersion of its own.
  CHECK_EQ(system.FileVersionString(system.ModulePath()).value_or("<none>"), std::string("4.07.00.0700"));
  CHECK_EQ(system.FileVersionString(setupExe).value_or("<none>"), std::string("1.0.0.0"));
  const std::string plain = folder + "\\plain.txt";
  files.WriteWholeFile(plain, "no version here");
  CHECK(!system.FileVersionString(plain).has_value());
  CHECK(!system.FileVersionString(folder + "\\missing.dll").has_value());
  // The system's own DDRAW.DLL as the DirectX check reads it ("5.3.1.904" under Wine).
  const std::string ddraw = system.FileVersionString(system.SystemDirectory() + "\\DDRAW.DLL").value_or("");
  CHECK(!ddraw.empty() && ddraw[0] >= '0' && ddraw[0] <= '9' && ddraw.find('.') != std::string::npos);
  files.DeleteFile(plain);

  if (GetACP() == 932) {
    CHECK_EQ(system.AnsiToUtf8("\x83\x65\x83\x58\x83\x67"), std::string("テスト"));
    CHECK(system.IsLeadByte(0x82));
    CHECK(system.IsLeadByte(0x83));
    CHECK(!system.IsLeadByte('A'));
    CHECK(!system.IsLeadByte(0xB1));  // half-width katakana is a single byte
  } else if (GetACP() == 1252) {
    CHECK_EQ(system.AnsiToUtf8("caf\xE9"), std::string("café"));
    CHECK(!system.IsLeadByte(0x82));
  } else {
    ReportFailure(__FILE__, __LINE__, "unexpected ANSI code page " + std::to_string(GetACP()));
  }
}

struct LoadedLink {
  std::string path, workingFolder, description;
};

bool LoadLink(const std::string& linkPath, LoadedLink* loaded) {
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link)))) {
    return false;
  }
  IPersistFile* file = nullptr;
  bool ok = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
  if (ok) {
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH);
    ok = SUCCEEDED(file->Load(wide, STGM_READ));
    char text[MAX_PATH] = {};
    if (ok && SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH))) loaded->path = text;
    if (ok && SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH))) loaded->workingFolder = text;
    if (ok && SUCCEEDED(link->GetDescription(text, MAX_PATH))) loaded->description = text;
    file->Release();
  }
  link->Release();
  return ok;
}

void TestShell(WinShell& shell, WinFileSystem& files, const std::string& folder) {
  BeginGroup("shell: special folders and shell links");
  const std::string programs = shell.SpecialFolderPath(kCsidlPrograms).value_or("");
  CHECK(!programs.empty());
  CHECK(files.DirectoryExists(programs));
  CHECK_EQ(Lower(shell.SpecialFolderParsingName(kCsidlPrograms).value_or("")), Lower(programs));

  ShellLinkData link;
  link.linkPath = folder + "\\Game.lnk";
  link.workingFolder = "C:\\Game\\BIN";
  link.targetPath = "C:\\Game\\BIN\\TOOL.EXE";
  link.description = "Tool";
  CHECK(shell.SaveShellLink(link));
  CHECK(files.FileExists(link.linkPath));
  CoInitialize(nullptr);
  LoadedLink loaded;
  CHECK(LoadLink(link.linkPath, &loaded));
  CoUninitialize();
  CHECK_EQ(Lower(loaded.path), Lower(link.targetPath));
  CHECK_EQ(Lower(loaded.workingFolder), Lower(link.workingFolder));
  CHECK_EQ(loaded.description, link.description);
  files.DeleteFile(link.linkPath);

  link.linkPath = folder + "\\no-such-folder\\Game.lnk";
  CHECK(!shell.SaveShellLink(link));
}

void TestSetupResources(const std::string& setupExe) {
  BeginGroup("setup.exe: clips, manifest and version block");
  HMODULE module = LoadLibraryExA(setupExe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  CHECK(module != nullptr);
  if (module == nullptr) return;
  const WORD japanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
  for (const char* clip : {"RESAVI", "DELAVI"}) {
    HRSRC found = FindResourceExA(module, "AVI", clip, japanese);
    CHECK(found != nullptr);
    if (found == nullptr) continue;
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
    CHECK(SizeofResource(module, found) > 12 && std::string(bytes, 4) == "RIFF" && std::string(bytes + 8, 4) == "AVI ");
  }
  HRSRC manifest = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  CHECK(manifest != nullptr);
  if (manifest != nullptr) {
    const std::string text(static_cast<const char*>(LockResource(LoadResource(module, manifest))),
                           SizeofResource(module, manifest));
    CHECK(text.find("level=\"requireAdministrator\"") != std::string::npos);
    CHECK(text.find("uiAccess=\"false\"") != std::string::npos);
    CHECK(text.find("Common-Controls") == std::string::npos);
    CHECK(text.find("dpiAware") == std::string::npos);
  }
  CHECK(FindResourceExA(module, MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1), japanese) != nullptr);
  FreeLibrary(module);
}

}  // namespace

void RunPlatformCallTests(const std::string& setupExe) {
  WinFileSystem files;
  WinRegistry registry;
  WinShell shell;
  WinSystem system;
  const std::string folder = ScratchFolder();
  TestRegistryValues(registry);
  TestSystem(system, files, folder, setupExe);
  TestShell(shell, files, folder);
  TestSetupResources(setupExe);
}

}  // namespace setup::win32::test
