// The contract's Windows machine: the Win32 layer on the real system calls (Windows, or Wine in
// a Japanese locale), in a scratch folder under the temporary folder and a scratch key under
// HKEY_CURRENT_USER that are removed again afterwards.
#include "setup/platform/win32/windows_api.h"

#include <string>

#include "setup/platform/win32/win_file_system.h"
#include "setup/platform/win32/win_registry.h"
#include "setup/platform/win32/win_system.h"
#include "tests/contract/contract_machine.h"

namespace setup::contract {
namespace {

// Empties and removes a folder tree through the layer itself.
void RemoveTree(FileSystem& files, const std::string& folder) {
  for (const FoundEntry& entry : files.FindEntries(folder + "\\*.*")) {
    if (entry.name == "." || entry.name == "..") continue;
    const std::string path = folder + "\\" + entry.name;
    files.SetAttributes(path, (entry.attributes & kAttrDirectory) != 0 ? kAttrDirectory : kAttrArchive);
    if ((entry.attributes & kAttrDirectory) != 0) {
      RemoveTree(files, path);
    } else {
      files.DeleteFile(path);
    }
  }
  files.RemoveDirectory(folder);
}

class Win32ContractMachine final : public ContractMachine {
 public:
  Win32ContractMachine() : serial_(++made_) {}
  ~Win32ContractMachine() override {
    files_.SetCurrentDirectory(TempFolder());
    if (!scratch_.empty()) RemoveTree(files_, scratch_);
    DeleteKeyWithSubkeys(kHkeyCurrentUser, ScratchKey());
  }
  // The machine cleans up after itself through the seam alone, like everything else here.
  void DeleteKeyWithSubkeys(KeyHandle root, const std::string& path) {
    if (const std::optional<KeyHandle> key = registry_.OpenKey(root, path)) {
      for (const std::string& name : registry_.SubkeyNames(*key)) DeleteKeyWithSubkeys(root, path + "\\" + name);
      registry_.CloseKey(*key);
    }
    registry_.DeleteKey(root, path);
  }
  FileSystem& files() override { return files_; }
  Registry& registry() override { return registry_; }
  System& system() override { return system_; }
  std::string ScratchFolder() override {
    scratch_ = TempFolder() + "contract-" + Suffix();
    RemoveTree(files_, scratch_);
    files_.CreateDirectory(scratch_);
    return scratch_;
  }
  std::string ScratchKey() override { return "Software\\CdSetupContract-" + Suffix(); }
  std::string MissingDriveRoot() override { return "Q:\\"; }

 private:
  static std::string TempFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return temp;
  }
  std::string Suffix() const { return std::to_string(GetCurrentProcessId()) + "-" + std::to_string(serial_); }

  static inline int made_ = 0;
  int serial_;
  win32::WinFileSystem files_;
  win32::WinRegistry registry_;
  win32::WinSystem system_;
  std::string scratch_;
};

}  // namespace

std::vector<MachineKind> ContractMachines() {
  return {{"Win32", [] { return std::unique_ptr<ContractMachine>(new Win32ContractMachine()); }}};
}

}  // namespace setup::contract
