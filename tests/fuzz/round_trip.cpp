// Fuzzes a whole installation and its uninstallation on a machine that holds other programs'
// files and keys: whatever the script says, the uninstaller removes only what the installation
// recorded, and keys of others survive unless the script names them.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "setup/app/message_form.h"
#include "setup/platform/sim/simulated_machine.h"

namespace {

constexpr const char* kForeignFiles[] = {"C:\\FOREIGN\\keep.txt", "C:\\Game\\FOREIGN.TXT",
                                         "C:\\WINDOWS\\Start Menu\\Programs\\FOREIGN\\x.lnk", "C:\\WINDOWS\\win.ini"};
constexpr const char* kUninstallPrefix = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

struct ForeignKey {
  setup::KeyHandle root;
  std::string path;
};

std::vector<ForeignKey> ForeignKeys() {
  return {{setup::kHkeyLocalMachine, "SOFTWARE\\FOREIGN\\Data"},
          {setup::kHkeyCurrentUser, "Software\\FOREIGN\\Data"},
          {setup::kHkeyLocalMachine, std::string(kUninstallPrefix) + "FOREIGN"}};
}

bool Recorded(setup::SimulatedMachine& machine, const setup::TextList& installed, const std::string& path) {
  const std::string key = machine.files().PathKey(path);
  for (const std::string& entry : installed) {
    if (machine.files().PathKey(entry) == key) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 4096) return 0;
  const std::string input(reinterpret_cast<const char*>(data), size);
  setup::SimulatedMachine machine;
  machine.files().AddFile("D:\\DATA\\A.TXT", "a");
  machine.files().AddFile("D:\\DATA\\SUB\\B.DAT", "b");
  for (const char* file : kForeignFiles) machine.files().AddFile(file, "keep");
  for (const ForeignKey& key : ForeignKeys()) machine.registry().AddString(key.root, key.path, "Owner", "other");
  machine.files().AddFile("D:\\setup.ini", "[SETUP]\nTITLE=T\nDIR=C:\\Game\nSRC=@:\\DATA\nUNINSTALL=U.INI\n" + input);
  machine.ui().onMessageBox = [&machine](setup::BoxKind, setup::BoxButtons buttons, const std::string&) {
    machine.ui().QueueAnswer(buttons == setup::BoxButtons::YesNo ? setup::Answer::Yes : setup::Answer::Ok);
  };

  setup::MessageForm installer(machine.platform());
  installer.FormCreate();
  installer.FormShow();
  installer.OkButtonClick();
  const setup::TextList installed = installer.script().InstalledFiles;
  const std::optional<std::string> command = machine.registry().StringValue(
      setup::kHkeyLocalMachine, kUninstallPrefix + installer.script().Title, "UninstallString");
  if (command) {
    machine.system().SetModulePath("C:\\WINDOWS\\unkelvo4.exe");
    machine.system().SetCommandLine(*command);
    setup::MessageForm uninstaller(machine.platform());
    uninstaller.FormCreate();
    uninstaller.FormShow();
  }
  if (machine.registry().OpenHandleCount() != 0) __builtin_trap();

  std::string lower = input;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower.find("foreign") != std::string::npos) return 0;
  for (const char* file : kForeignFiles) {
    if (!machine.files().Exists(file) && !Recorded(machine, installed, file)) __builtin_trap();
  }
  for (const ForeignKey& key : ForeignKeys()) {
    if (!machine.registry().KeyExists(key.root, key.path)) __builtin_trap();
  }
  return 0;
}
