// Checks of FileSystem, Registry, System and Shell against the real system calls, in a
// scratch folder under the temporary folder and a scratch key under HKEY_CURRENT_USER.
#include "setup/platform/win32/windows_api.h"

#include <objidl.h>
#include <shlobj.h>

#include <string>

#include "setup/platform/win32/tests/check.h"
#include "setup/platform/win32/tests/layer_tests.h"
#include "setup/platform/win32/win_file_system.h"
#include "setup/platform/win32/win_registry.h"
#include "setup/platform/win32/win_shell.h"
#include "setup/platform/win32/win_system.h"

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

bool HasEntry(const std::vector<FoundEntry>& entries, const std::string& name) {
  for (const FoundEntry& entry : entries) {
    if (entry.name == name) return true;
  }
  return false;
}

const FoundEntry* FindEntry(const std::vector<FoundEntry>& entries, const std::string& name) {
  for (const FoundEntry& entry : entries) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
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

void TestFileContents(WinFileSystem& files, const std::string& folder) {
  BeginGroup("files: whole-file reads and writes");
  const std::string path = folder + "\\data.bin";
  const std::string bytes("line\r\n\0\x82\xa0\xff", 10);
  CHECK(files.WriteWholeFile(path, bytes) == WriteResult::Ok);
  CHECK_EQ(files.ReadWholeFile(path).value_or("<none>"), bytes);
  // Writing again replaces the content instead of writing over its start.
  CHECK(files.WriteWholeFile(path, "ab") == WriteResult::Ok);
  CHECK_EQ(files.ReadWholeFile(path).value_or("<none>"), std::string("ab"));
  CHECK(files.WriteWholeFile(path, "") == WriteResult::Ok);
  CHECK_EQ(files.ReadWholeFile(path).value_or("<none>"), std::string());
  CHECK(files.WriteWholeFile(folder + "\\missing\\x.cfg", "x") == WriteResult::CannotCreate);
  // Parts follow one another in the file, an empty one and one past the megabyte a call writes
  // included, and the file is as short as the parts.
  const std::string large(3 << 19, 'L');
  CHECK(files.WriteFileInParts(path, [&](const PartSink& sink) {
    sink("first,");
    sink("");
    sink(large);
    sink(",last");
  }) == WriteResult::Ok);
  CHECK_EQ(files.ReadWholeFile(path).value_or("<none>"), "first," + large + ",last");
  CHECK(files.WriteFileInParts(path, [](const PartSink& sink) { sink("x"); }) == WriteResult::Ok);
  CHECK_EQ(files.ReadWholeFile(path).value_or("<none>"), std::string("x"));
  CHECK(files.WriteFileInParts(folder + "\\missing\\x.cfg", [](const PartSink& sink) { sink("x"); }) ==
        WriteResult::CannotCreate);
  CHECK(!files.ReadWholeFile(folder + "\\missing.txt").has_value());
}

void TestListing(WinFileSystem& files, const std::string& folder) {
  BeginGroup("files: listing with sizes and attributes");
  const std::string dir = folder + "\\list";
  CHECK(files.CreateDirectory(dir));
  CHECK(files.CreateDirectory(dir + "\\sub"));
  files.WriteWholeFile(dir + "\\three.txt", "123");
  files.WriteWholeFile(dir + "\\hidden.dat", "hidden");
  CHECK(files.SetAttributes(dir + "\\hidden.dat", kAttrHidden));

  const std::vector<FoundEntry> all = files.FindEntries(dir + "\\*.*");
  CHECK(HasEntry(all, "."));
  CHECK(HasEntry(all, ".."));
  const FoundEntry* three = FindEntry(all, "three.txt");
  CHECK(three != nullptr);
  if (three != nullptr) {
    CHECK_EQ(three->size, std::uint64_t{3});
    CHECK((three->attributes & kAttrDirectory) == 0);
  }
  const FoundEntry* sub = FindEntry(all, "sub");
  CHECK(sub != nullptr && (sub->attributes & kAttrDirectory) != 0);
  const FoundEntry* hidden = FindEntry(all, "hidden.dat");
  CHECK(hidden != nullptr && (hidden->attributes & kAttrHidden) != 0);

  const std::vector<FoundEntry> texts = files.FindEntries(dir + "\\*.txt");
  CHECK_EQ(texts.size(), size_t{1});
  CHECK(files.FindEntries(dir + "\\*.none").empty());
  CHECK(files.FindEntries(folder + "\\no-such-folder\\*.*").empty());
}

void TestFileOperations(WinFileSystem& files, const std::string& folder) {
  BeginGroup("files: copy, replace, attributes, delete, folders");
  const std::string from = folder + "\\from.txt";
  const std::string to = folder + "\\to.txt";
  files.WriteWholeFile(from, "new");
  files.WriteWholeFile(to, "old content");
  CHECK(files.CopyFile(from, to));
  CHECK_EQ(files.ReadWholeFile(to).value_or(""), std::string("new"));
  CHECK(files.FileExists(from));
  CHECK(!files.CopyFile(folder + "\\absent.txt", to));

  CHECK(files.SetAttributes(to, kAttrReadOnly));
  CHECK((GetFileAttributesA(to.c_str()) & FILE_ATTRIBUTE_READONLY) != 0);
  CHECK(!files.DeleteFile(to));
  CHECK(files.SetAttributes(to, kAttrArchive));
  CHECK_EQ(GetFileAttributesA(to.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));

  files.WriteWholeFile(from, "replacement");
  CHECK(files.ReplaceFile(from, to));
  CHECK(!files.FileExists(from));
  CHECK_EQ(files.ReadWholeFile(to).value_or(""), std::string("replacement"));
  CHECK(files.ReplaceFile(to, from));  // onto a name that does not exist yet
  CHECK(files.FileExists(from) && !files.FileExists(to));

  CHECK(files.FileExists(from));
  CHECK(!files.DirectoryExists(from));
  CHECK(files.DirectoryExists(folder));
  CHECK(!files.FileExists(folder));
  CHECK(!files.DirectoryExists(folder + "\\nothing"));

  const std::string dir = folder + "\\made";
  CHECK(files.CreateDirectory(dir));
  CHECK(!files.CreateDirectory(dir));
  CHECK(!files.CreateDirectory(folder + "\\two\\levels"));
  files.WriteWholeFile(dir + "\\keep.txt", "k");
  CHECK(!files.RemoveDirectory(dir));
  CHECK(files.SetCurrentDirectory(dir));
  CHECK(files.DeleteFile("keep.txt"));  // relative to the working folder
  CHECK(files.SetCurrentDirectory(folder));
  CHECK(files.RemoveDirectory(dir));
  CHECK(!files.SetCurrentDirectory(folder + "\\nothing"));
  CHECK(files.DeleteFile(from));
}

void TestDrives(WinFileSystem& files, const std::string& folder) {
  BeginGroup("files: drives, free space, short names");
  CHECK(files.GetDriveType("C:\\") == DriveType::Fixed);
  CHECK(files.GetDriveType("Q:\\") == DriveType::NoRootDir);
  CHECK(files.FreeBytes("C:\\") > 0);
  CHECK_EQ(files.FreeBytes("Q:\\"), std::int64_t{-1});

  const std::string longName = folder + "\\A Folder With A Long Name";
  files.CreateDirectory(longName);
  const std::optional<std::string> shortName = files.ShortPath(longName);
  CHECK(shortName.has_value());
  if (shortName) {
    CHECK(shortName->find(' ') == std::string::npos);
    CHECK(files.DirectoryExists(*shortName));
  }
  CHECK(!files.ShortPath(folder + "\\not-there").has_value());
  files.RemoveDirectory(longName);
}

std::string ReadStringValue(HKEY key, const char* name, DWORD* type, DWORD* size) {
  char data[256] = {};
  *size = sizeof(data);
  if (RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(data), size) != ERROR_SUCCESS) return "<none>";
  return std::string(data);
}

void TestRegistryValues(WinRegistry& registry) {
  BeginGroup("registry: keys and values");
  KeyHandle key = 0;
  CHECK(registry.CreateKey(kHkeyCurrentUser, std::string(kScratchKey) + "\\Vendor\\Game", &key));
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

  KeyHandle missing = 0;
  CHECK(!registry.OpenKey(kHkeyCurrentUser, std::string(kScratchKey) + "\\Nothing", &missing));
}

void TestRegistryRoots(WinRegistry& registry) {
  BeginGroup("registry: an empty path opens the root, and roots are never closed");
  KeyHandle root = 0;
  CHECK(registry.CreateKey(kHkeyCurrentUser, "", &root));
  KeyHandle below = 0;
  CHECK(registry.CreateKey(root, std::string(kScratchKey) + "\\ViaRoot", &below));
  registry.CloseKey(below);
  registry.CloseKey(root);
  registry.CloseKey(kHkeyCurrentUser);
  KeyHandle again = 0;
  CHECK(registry.OpenKey(kHkeyCurrentUser, std::string(kScratchKey) + "\\ViaRoot", &again));
  registry.CloseKey(again);
  KeyHandle machine = 0;
  CHECK(registry.OpenKey(kHkeyLocalMachine, "Software", &machine));
  registry.CloseKey(machine);
}

void TestRegistryDeletion(WinRegistry& registry) {
  BeginGroup("registry: counting, enumerating and deleting subkeys");
  KeyHandle scratch = 0;
  CHECK(registry.OpenKey(kHkeyCurrentUser, kScratchKey, &scratch));
  std::uint32_t count = 0, longest = 0;
  CHECK(registry.QueryInfo(scratch, &count, &longest));
  CHECK_EQ(count, std::uint32_t{2});  // Vendor, ViaRoot
  CHECK_EQ(longest, std::uint32_t{7});
  std::string first, second, none;
  CHECK(registry.EnumKey(scratch, 0, longest + 1, &first));
  CHECK(registry.EnumKey(scratch, 1, longest + 1, &second));
  CHECK(!registry.EnumKey(scratch, 2, longest + 1, &none));
  CHECK((first == "Vendor" && second == "ViaRoot") || (first == "ViaRoot" && second == "Vendor"));
  // A key that still has subkeys stays, as on Windows NT.
  CHECK(!registry.DeleteKey(scratch, "Vendor"));
  CHECK(registry.DeleteKey(scratch, "Vendor\\Game"));
  CHECK(registry.DeleteKey(scratch, "Vendor"));
  CHECK(registry.DeleteKey(scratch, "ViaRoot"));
  registry.CloseKey(scratch);
  CHECK(registry.DeleteKey(kHkeyCurrentUser, kScratchKey));
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
  const std::string programs = shell.SpecialFolderPath(kCsidlPrograms);
  CHECK(!programs.empty());
  CHECK(files.DirectoryExists(programs));
  CHECK_EQ(Lower(shell.SpecialFolderParsingName(kCsidlPrograms)), Lower(programs));

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
  TestFileContents(files, folder);
  TestListing(files, folder);
  TestFileOperations(files, folder);
  TestDrives(files, folder);
  TestRegistryValues(registry);
  TestRegistryRoots(registry);
  TestRegistryDeletion(registry);
  TestSystem(system, files, folder, setupExe);
  TestShell(shell, files, folder);
  TestSetupResources(setupExe);
}

}  // namespace setup::win32::test
