// The dry run: the installer's own main dialog, started on the check machine, given a destination
// folder and the Start button, and what the machine holds afterwards.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "setup/platform/sim/simulated_machine.h"
#include "setupcheck/check_machine.h"

namespace setupcheck {

struct DryRunOptions {
  std::string destination;  // the folder typed into the folder box; empty takes the script's DIR
  bool pc9821 = false;      // the machine is a PC-9821 and the user says so when asked
};

struct RegistryKeyState {
  std::string root;  // "HKEY_LOCAL_MACHINE" or "HKEY_CURRENT_USER"
  std::string path;
  std::vector<setup::RegistryValue> values;
};

struct WrittenFile {
  std::string path;
  std::optional<std::string> bytes;  // nothing when the file is not there
};

struct DryRun {
  std::string destination;
  bool started = false;   // the destination was accepted and the steps ran
  bool finished = false;  // the run ended with the completion notice
  std::vector<setup::ShownBox> boxes;
  std::vector<CopyCall> copies;             // in order, the uninstaller's own copy included
  std::vector<RegistryKeyState> registry;   // keys that hold values or have no subkeys
  std::optional<WrittenFile> configFile;    // when CFGNAME names one
  std::vector<setup::ShellLinkData> links;  // in the order saved
  std::optional<WrittenFile> record;        // when UNINSTALL names one
};

// The machine must be fresh: the run changes it.
DryRun RunInstallation(CheckMachine& machine, const DryRunOptions& options);

}  // namespace setupcheck
