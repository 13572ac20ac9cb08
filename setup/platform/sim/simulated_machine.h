// A whole simulated Windows machine for the host tests: one object that holds the file system,
// registry, shell, system facts and user interface, and hands the core its Platform.
//
// Typical use:
//   SimulatedMachine machine;                        // the default machine below
//   machine.files().AddFile("D:\\setup.ini", script);
//   machine.ui().QueueAnswer(Answer::Yes);
//   MessageForm form(machine.platform());
//   ...
//   EXPECT_EQ(machine.registry().OpenHandleCount(), 0);
#pragma once

#include <map>
#include <string>
#include <vector>

#include "setup/platform/platform.h"
#include "setup/platform/sim/sim_file_system.h"
#include "setup/platform/sim/sim_registry.h"
#include "setup/platform/sim/sim_shell.h"
#include "setup/platform/sim/sim_system.h"
#include "setup/platform/sim/sim_user_interface.h"

namespace setup {

// Everything on the machine that a run may change: every file and folder, and every key of both
// roots ("HKLM\SOFTWARE\Vendor") with its values written out ("Path=C:\Game", "Count=#12").
struct MachineSnapshot {
  FileSnapshot files;
  std::map<std::string, std::string> keys;
};

// The Programs folder of the default machine.
inline constexpr const char kDefaultProgramsFolder[] = "C:\\WINDOWS\\Start Menu\\Programs";

class SimulatedMachine {
 public:
  // The default machine:
  //   drive C: fixed, 10 GiB free; drive D: CD-ROM, 0 bytes free;
  //   folders C:\WINDOWS, C:\WINDOWS\system32 and the Programs folder kDefaultProgramsFolder
  //   (also its parsing name); the current folder C:\WINDOWS;
  //   the program D:\setup.exe (a few bytes, read-only as on a CD-ROM), started as "D:\setup.exe"
  //   with no argument; empty registry; no queued answers.
  SimulatedMachine();
  // A machine with no drive, no file and no special folder, for tests that build everything.
  struct Bare {};
  explicit SimulatedMachine(Bare);

  SimulatedMachine(const SimulatedMachine&) = delete;
  SimulatedMachine& operator=(const SimulatedMachine&) = delete;

  Platform& platform() { return platform_; }
  SimFileSystem& files() { return files_; }
  SimRegistry& registry() { return registry_; }
  SimShell& shell() { return shell_; }
  SimSystem& system() { return system_; }
  SimUserInterface& ui() { return ui_; }
  const SimFileSystem& files() const { return files_; }
  const SimRegistry& registry() const { return registry_; }
  const SimShell& shell() const { return shell_; }
  const SimSystem& system() const { return system_; }
  const SimUserInterface& ui() const { return ui_; }
  const Transcript& transcript() const { return transcript_; }

  MachineSnapshot Snapshot() const;
  // What differs from an earlier snapshot, a line per path: "+" made since, "-" gone since,
  // "~" changed; empty when the machine is as it was.
  std::vector<std::string> ChangesSince(const MachineSnapshot& before) const;

  // Starts the program as the uninstaller: module path, and a command line that passes the
  // record path in double quotes, as the uninstall entry does.
  void StartAsUninstaller(const std::string& modulePath, const std::string& recordPath);

 private:
  Transcript transcript_;
  SimFileSystem files_;
  SimRegistry registry_;
  SimShell shell_;
  SimSystem system_;
  SimUserInterface ui_;
  Platform platform_;
};

}  // namespace setup
