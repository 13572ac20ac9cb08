// The default simulated machine and the wiring of its five parts into one Platform.
#include "setup/platform/sim/simulated_machine.h"

namespace setup {

namespace {
constexpr std::int64_t kDefaultFreeBytes = 10ll << 30;
}  // namespace

SimulatedMachine::SimulatedMachine(Bare)
    : shell_(files_, transcript_),
      system_(files_),
      ui_(transcript_),
      platform_{files_, registry_, shell_, system_, ui_} {}

SimulatedMachine::SimulatedMachine() : SimulatedMachine(Bare{}) {
  files_.AddDrive("C:\\", DriveType::Fixed, kDefaultFreeBytes);
  files_.AddDrive("D:\\", DriveType::CdRom, 0);
  files_.AddFolder(system_.SystemDirectory());
  files_.AddFolder(kDefaultProgramsFolder);
  files_.AddFile(system_.ModulePath(), "MZ setup", kAttrReadOnly);
  files_.SetCurrentDirectory(system_.WindowsDirectory());
  files_.ResetCallCounts();
  shell_.SetSpecialFolder(kCsidlPrograms, kDefaultProgramsFolder);
}

namespace {

// "+", "-" or "~" and the key of every entry in which the two maps differ.
template <typename Value>
void Compare(const std::map<std::string, Value>& before, const std::map<std::string, Value>& after,
             std::vector<std::string>& changes) {
  for (const auto& [path, state] : before) {
    const auto found = after.find(path);
    if (found == after.end()) {
      changes.push_back("- " + path);
    } else if (!(found->second == state)) {
      changes.push_back("~ " + path);
    }
  }
  for (const auto& [path, state] : after) {
    if (before.count(path) == 0) changes.push_back("+ " + path);
  }
}

}  // namespace

MachineSnapshot SimulatedMachine::Snapshot() const {
  MachineSnapshot snapshot{files_.Snapshot(), {}};
  for (const auto& [root, name] : {std::pair{kHkeyCurrentUser, "HKCU\\"}, std::pair{kHkeyLocalMachine, "HKLM\\"}}) {
    for (const std::string& path : registry_.AllKeys(root)) {
      std::string values;
      for (const RegistryValue& value : registry_.Values(root, path)) {
        const bool text = value.type == RegistryValueType::String;
        values += value.name + "=" + (text ? value.text : "#" + std::to_string(value.number)) + "\n";
      }
      snapshot.keys[name + path] = values;
    }
  }
  return snapshot;
}

std::vector<std::string> SimulatedMachine::ChangesSince(const MachineSnapshot& before) const {
  const MachineSnapshot now = Snapshot();
  std::vector<std::string> changes;
  Compare(before.files, now.files, changes);
  Compare(before.keys, now.keys, changes);
  return changes;
}

void SimulatedMachine::StartAsUninstaller(const std::string& modulePath, const std::string& recordPath) {
  system_.SetModulePath(modulePath);
  system_.SetCommandLine("\"" + modulePath + "\" \"" + recordPath + "\"");
}

}  // namespace setup
