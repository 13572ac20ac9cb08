// A simulated machine with a CD-ROM in drive D: and the installer started from it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "setup/app/message_form.h"
#include "setup/platform/sim/simulated_machine.h"
#include "setup/script/installed_places.h"
#include "setup/script/messages.h"

namespace setup::testing {

// What the tests of the installer and the uninstaller share: the default machine's Programs
// folder, the uninstall entry of a product, and the notices that end a run as the transcript shows
// them.
inline constexpr const char* kPrograms = kDefaultProgramsFolder;
inline constexpr char kUninstallerPath[] = "C:\\WINDOWS\\unkelvo4.exe";
inline std::string UninstallEntryKey(const std::string& title) { return kUninstallKeyPrefix + title; }
inline const std::string kFinishedNotice =
    std::string("notice ") + text::kInstallCaption + ": " + text::kInstallFinished;
inline const std::string kAbortedNotice = std::string("notice ") + text::kInstallCaption + ": " + text::kInstallAborted;
inline const std::string kUninstalledNotice =
    std::string("notice ") + text::kUninstallCaption + ": " + text::kUninstallFinished;

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
  // The program started as the uninstaller with a record path, as the uninstall entry starts it,
  // and run to its end.
  void RunUninstaller(const std::string& recordPath) {
    machine.StartAsUninstaller(kUninstallerPath, recordPath);
    form = std::make_unique<MessageForm>(machine.platform());
    form->FormCreate();
    form->FormShow();
  }
  // The same with the command line of the title's uninstall entry; false without one.
  bool UninstallThroughEntry(const std::string& title) {
    const std::optional<std::string> command =
        machine.registry().StringValue(kHkeyLocalMachine, UninstallEntryKey(title), "UninstallString");
    if (!command) return false;
    machine.system().SetModulePath(kUninstallerPath);
    machine.system().SetCommandLine(*command);
    form = std::make_unique<MessageForm>(machine.platform());
    form->FormCreate();
    form->FormShow();
    return true;
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
