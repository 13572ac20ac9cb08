// The machine setupcheck runs the installer's own code on: a simulated Windows machine with the
// CD image as drive D: and the script as D:\setup.ini, started as D:\setup.exe. DirectX and free
// space are made plentiful so that they never stand in the way of the rest of the check.
#pragma once

#include <string>
#include <vector>

#include "setup/platform/sim/simulated_machine.h"
#include "setupcheck/cd_folder.h"
#include "setupcheck/recording_file_system.h"

namespace setupcheck {

inline constexpr char kCdRoot[] = "D:\\";

class CheckMachine {
 public:
  CheckMachine(const CdFolder& cd, const std::string& scriptBytes);
  CheckMachine(const CheckMachine&) = delete;
  CheckMachine& operator=(const CheckMachine&) = delete;

  // The platform whose file system notes listings and copies.
  setup::Platform& platform() { return platform_; }
  setup::SimulatedMachine& sim() { return machine_; }
  RecordingFileSystem& recorder() { return recorder_; }
  // Image paths the simulated CD could not hold (names Windows does not allow).
  const std::vector<std::string>& unplaced() const { return unplaced_; }

  // Gives the machine the fixed disk a destination lies on when it is neither C: nor the CD.
  void AddFixedDriveFor(const std::string& destination);

 private:
  setup::SimulatedMachine machine_;
  RecordingFileSystem recorder_;
  setup::Platform platform_;
  std::vector<std::string> unplaced_;
};

}  // namespace setupcheck
