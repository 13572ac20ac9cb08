// A simulated machine with a CD-ROM in drive D: and the installer started from it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "setup/app/message_form.h"
#include "setup/platform/sim/simulated_machine.h"

namespace setup::testing {

class InstallerTest : public ::testing::Test {
 protected:
  // Puts setup.ini on the CD and runs the main dialog's creation and first showing.
  void Start(const std::string& script) {
    machine.files().AddFile("D:\\setup.ini", script);
    form = std::make_unique<MessageForm>(machine.platform());
    form->FormCreate();
    form->FormShow();
  }
  void PressStart(const std::string& typedFolder) {
    machine.ui().TypeFolderText(typedFolder);
    beforeStart = machine.Snapshot();
    form->OkButtonClick();
  }
  // After an installation that stopped: nothing that Start made is left, nothing that was there
  // before it is gone or changed.
  void ExpectMachineAsBeforeStart() const {
    EXPECT_EQ(machine.ChangesSince(beforeStart), std::vector<std::string>{}) << TranscriptText();
  }
  bool Shown(const std::string& line) const {
    const Transcript& transcript = machine.transcript();
    return std::find(transcript.begin(), transcript.end(), line) != transcript.end();
  }
  std::string File(const std::string& path) const { return machine.files().ReadFile(path).value_or("<missing>"); }
  std::string TranscriptText() const {
    std::string all;
    for (const std::string& line : machine.transcript()) all += line + "\n";
    return all;
  }

  SimulatedMachine machine;
  std::unique_ptr<MessageForm> form;
  MachineSnapshot beforeStart;
};

}  // namespace setup::testing
