// Fuzzes the merge of a new record into an existing one: whatever the old record holds, the new
// record must read back with every key just written, and be byte for byte what reading the old
// record into an IniDocument, setting the keys there and writing it out gives.
#include <cstddef>
#include <cstdint>
#include <string>

#include "setup/install/uninstall_record.h"
#include "setup/platform/sim/simulated_machine.h"
#include "setup/script/ini_document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  setup::SimulatedMachine machine;
  machine.files().AddFile("C:\\Game\\U.INI", std::string(reinterpret_cast<const char*>(data), size));
  setup::SetupScript script;
  script.DestDir = "C:\\Game";
  script.UninstallFile = "U.INI";
  script.Title = "T";
  script.InstalledFiles = {"C:\\Game\\a", "C:\\Game\\b"};
  script.InstalledRegKeys = {"HKEY_CURRENT_USER\\Software\\V"};
  setup::Flags flags;
  setup::InstallJournal journal;
  setup::StepContext context{script, flags, machine.platform(), machine.ui().MainProgress(), journal};
  setup::MakeUnInstallData(context);
  const auto written = machine.files().ReadFile("C:\\Game\\U.INI");
  if (!written) __builtin_trap();
  setup::IniDocument expected = setup::IniDocument::Parse(std::string(reinterpret_cast<const char*>(data), size));
  expected.Set("SETUP", "TITLE", script.Title);
  expected.Set("SETUP", "GROUP", script.GroupName);
  expected.SetList("SETUP", "COPY", script.InstalledFiles);
  expected.SetList("SETUP", "REG", script.InstalledRegKeys);
  expected.Set("SETUP", "SHORTCUT", script.ShortcutSetting);
  if (*written != expected.Serialize()) __builtin_trap();
  const setup::IniDocument record = setup::IniDocument::Parse(*written);
  if (record.Find("SETUP", "COPY2") != "C:\\Game\\b" ||
      record.Find("SETUP", "REG1") != "HKEY_CURRENT_USER\\Software\\V")
    __builtin_trap();
  return 0;
}
