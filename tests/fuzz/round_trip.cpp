// Fuzzes a whole installation and its uninstallation on a machine that holds other programs'
// files and keys: whatever the script says, the uninstaller removes only what the installation
// recorded, and keys of others survive unless the script names them. The first byte stops the
// installation at a point of its own (a fault in the n-th change of a file, or Cancel at the n-th
// message pump); a run that stopped leaves nothing it made and takes nothing that was there.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <memory>
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

// Stops the run as the first input byte says: 0 lets it run, 1 fails the n-th change of a file
// (a copy that fails is then answered Abort), 2 confirms Cancel at the n-th message pump.
void ArrangeStop(setup::SimulatedMachine& machine, setup::MessageForm& installer, std::uint8_t selector) {
  const int n = selector / 4 % 64 + 1;
  if (selector % 4 == 1) machine.files().FailChangeNumber(n);
  if (selector % 4 != 2) return;
  auto pumps = std::make_shared<int>(0);
  machine.ui().onPump = [&machine, &installer, pumps, n] {
    if (++*pumps != n) return;
    machine.ui().QueueAnswer(setup::Answer::Yes);
    installer.CopyFormCancelButtonClick();
  };
}

// Something made is left ("+") or something that was there is gone ("-"); a file or value that was
// replaced ("~") may stay so.
bool LeftOrTookSomething(const std::vector<std::string>& changes) {
  for (const std::string& change : changes) {
    if (change[0] != '~') return true;
  }
  return false;
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
  if (size < 1 || size > 4096) return 0;
  const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
  setup::SimulatedMachine machine;
  machine.files().AddFile("D:\\DATA\\A.TXT", "a");
  machine.files().AddFile("D:\\DATA\\SUB\\B.DAT", "b");
  for (const char* file : kForeignFiles) machine.files().AddFile(file, "keep");
  for (const ForeignKey& key : ForeignKeys()) machine.registry().AddString(key.root, key.path, "Owner", "other");
  machine.files().AddFile("D:\\setup.ini", "[SETUP]\nTITLE=T\nDIR=C:\\Game\nSRC=@:\\DATA\nUNINSTALL=U.INI\n" + input);
  machine.ui().onMessageBox = [&machine](setup::BoxKind kind, setup::BoxButtons buttons, const std::string&) {
    // Every stop for a failure says so before the run is taken back: a fault still due then would
    // hit the taking back itself.
    if (kind == setup::BoxKind::Error) machine.files().FailChangeNumber(0);
    const bool yesNo = buttons == setup::BoxButtons::YesNo;
    const bool retry = buttons == setup::BoxButtons::AbortRetryIgnore;
    machine.ui().QueueAnswer(yesNo ? setup::Answer::Yes : retry ? setup::Answer::Abort : setup::Answer::Ok);
  };
  bool finished = false;
  machine.ui().onNotice = [&finished](const std::string&, const std::string& message) {
    finished = finished || message == "インストールが終了しました";
  };

  setup::MessageForm installer(machine.platform());
  installer.FormCreate();
  installer.FormShow();
  const setup::MachineSnapshot before = machine.Snapshot();
  ArrangeStop(machine, installer, data[0]);
  installer.OkButtonClick();
  machine.ui().onPump = nullptr;
  machine.files().ClearFaults();
  if (machine.ui().mainHidden() && !finished && LeftOrTookSomething(machine.ChangesSince(before))) __builtin_trap();
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
