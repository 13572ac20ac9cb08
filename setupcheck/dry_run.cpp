// Running the whole installation on the simulated machine as a user would: the main dialog is
// created, the folder typed, Start pressed; the questions it asks are answered as a user who goes
// ahead would answer them.
#include "setupcheck/dry_run.h"

#include <algorithm>

#include "setup/app/message_form.h"
#include "setup/script/macros.h"
#include "setup/script/messages.h"

namespace setupcheck {

namespace {

// A keyboard subtype of the PC-9821 series, so the installer asks its PC-9821 question.
constexpr int kPC98Keyboard = 0x0D01;

std::vector<RegistryKeyState> RegistryOf(const setup::SimRegistry& registry) {
  std::vector<RegistryKeyState> keys;
  for (const auto& [root, name] : {std::pair{setup::kHkeyLocalMachine, "HKEY_LOCAL_MACHINE"},
                                   std::pair{setup::kHkeyCurrentUser, "HKEY_CURRENT_USER"}}) {
    const std::vector<std::string> all = registry.AllKeys(root);
    for (std::size_t i = 0; i < all.size(); ++i) {
      // Parents come before their children, so a key with subkeys is followed by one.
      const bool leaf = i + 1 == all.size() || all[i + 1].rfind(all[i] + "\\", 0) != 0;
      std::vector<setup::RegistryValue> values = registry.Values(root, all[i]);
      if (leaf || !values.empty()) keys.push_back(RegistryKeyState{name, all[i], std::move(values)});
    }
  }
  return keys;
}

WrittenFile FileOf(const setup::SimFileSystem& files, const std::string& path) {
  return WrittenFile{path, files.ReadFile(path)};
}

// What the run left in the registry and the files it wrote.
void TakeResults(DryRun& run, CheckMachine& machine, const setup::SetupScript& script) {
  setup::SimulatedMachine& sim = machine.sim();
  run.registry = RegistryOf(sim.registry());
  if (run.started && !script.ConfigFileName.empty()) {
    run.configFile = FileOf(sim.files(), setup::ExpandMacros(script, machine.platform(), script.ConfigFileName));
  }
  if (run.started && !script.UninstallFile.empty()) {
    run.record = FileOf(sim.files(), script.DestDir + "\\" + script.UninstallFile);
  }
}

}  // namespace

DryRun RunInstallation(CheckMachine& machine, const DryRunOptions& options) {
  setup::SimulatedMachine& sim = machine.sim();
  setup::SimUserInterface& ui = sim.ui();
  sim.system().SetKeyboardSubtype(options.pc9821 ? kPC98Keyboard : 0);
  DryRun run;
  setup::MessageForm form(machine.platform());
  // A step that fails says so before the run is taken back: the plan shows what the script had
  // done up to there. A file that cannot be copied is passed over, as a user going ahead would.
  bool stoppedByFailure = false;
  ui.onMessageBox = [&](setup::BoxKind kind, setup::BoxButtons buttons, const std::string& text) {
    if (text == setup::text::kAskPC9821) ui.QueueAnswer(options.pc9821 ? setup::Answer::Yes : setup::Answer::No);
    if (text == setup::text::kCreateFolder) ui.QueueAnswer(setup::Answer::Yes);
    if (buttons == setup::BoxButtons::AbortRetryIgnore) ui.QueueAnswer(setup::Answer::Ignore);
    if (kind == setup::BoxKind::Error && buttons == setup::BoxButtons::Ok && ui.mainHidden()) {
      run.started = stoppedByFailure = true;
      TakeResults(run, machine, form.script());
    }
  };
  bool finished = false;
  ui.onNotice = [&](const std::string& caption, const std::string& message) {
    finished = finished || (caption == setup::text::kInstallCaption && message == setup::text::kInstallFinished);
  };

  form.FormCreate();
  form.FormShow();
  run.destination = options.destination.empty() ? form.script().DestDir : options.destination;
  machine.AddFixedDriveFor(run.destination);
  ui.TypeFolderText(run.destination);
  machine.recorder().Forget();
  form.OkButtonClick();

  run.started = ui.mainHidden();
  run.finished = finished;
  run.boxes = ui.boxes();
  run.copies = machine.recorder().copies();
  run.links = sim.shell().savedLinks();
  if (!stoppedByFailure) TakeResults(run, machine, form.script());
  return run;
}

}  // namespace setupcheck
