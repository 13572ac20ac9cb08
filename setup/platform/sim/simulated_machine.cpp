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

void SimulatedMachine::StartAsUninstaller(const std::string& modulePath, const std::string& recordPath) {
  system_.SetModulePath(modulePath);
  system_.SetCommandLine("\"" + modulePath + "\" \"" + recordPath + "\"");
}

}  // namespace setup
