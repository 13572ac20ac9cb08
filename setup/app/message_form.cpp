// MessageForm's start-up, showing and closing, the mode decision, the PC-9821 question and the
// background's activation rule.
#include "setup/app/message_form.h"

#include "setup/script/command_line.h"
#include "setup/script/messages.h"
#include "setup/script/paths.h"
#include "setup/script/text.h"
#include "setup/uninstall/run_uninstall.h"

namespace setup {

namespace {

constexpr char kInstallerName[] = "setup.exe";

bool IsPC98Keyboard(int subtype) { return subtype >= 0x0D01 && subtype <= 0x0D04; }

}  // namespace

bool IsUninstallerName(Platform& platform, const std::string& modulePath) {
  const std::size_t separator = LastSeparator(modulePath, platform.system, true);
  const std::string name = separator == std::string::npos ? modulePath : modulePath.substr(separator + 1);
  return !EqualsIgnoringAsciiCase(name, kInstallerName);
}

void MessageForm::FormCreate() {
  flags_.Installing = false;
  flags_.AbortRequested = false;
  flags_.UninstallMode = IsUninstallerName(platform_, platform_.system.ModulePath());
  const RunMode mode = flags_.UninstallMode ? RunMode::Uninstall : RunMode::Install;
  flags_.NetworkBlocked = LoadSetupScript(mode, platform_, script_).NetworkBlocked;
  DecidePC9821();

  UserInterface& ui = platform_.ui;
  if (flags_.UninstallMode) {
    ui.HideMainDialog();
    RunUnInstall(script_, platform_, FirstArgument(platform_.system.CommandLine()));
    return;
  }
  ui.SetMainCaption(platform_.system.AnsiToUtf8(script_.Title) + text::kSetupCaptionSuffix);
  ui.SetMainMessage(text::kChooseFolder);
  ui.SetFolderText(script_.DestDir);
}

void MessageForm::DecidePC9821() {
  flags_.IsPC9821 = false;
  if (!script_.AskPC9821) return;
  flags_.IsPC9821 = IsPC98Keyboard(platform_.system.KeyboardSubtype()) || script_.WindowsDrive == "A";
  if (flags_.IsPC9821) {
    flags_.IsPC9821 =
        platform_.ui.MessageBox(BoxKind::Confirmation, BoxButtons::YesNo, text::kAskPC9821) == Answer::Yes;
  }
}

void MessageForm::FormShow() {
  UserInterface& ui = platform_.ui;
  if (!flags_.UninstallMode) {
    const std::string caption = platform_.system.AnsiToUtf8(script_.Title) + text::kSetupCaptionSuffix;
    ui.ShowBackground(caption, platform_.system.AnsiToUtf8(script_.Title));
    if (flags_.NetworkBlocked) OkButtonClick();
    return;
  }
  ui.Beep();
  ui.ShowNotice(text::kUninstallCaption, text::kUninstallFinished);
  Close();
}

void MessageForm::FormClose() {
  for (TextList* list : {&script_.CopyList, &script_.RegList, &script_.StartList, &script_.InstalledFiles,
                         &script_.RemoveList, &script_.InstalledRegKeys, &script_.CfgList}) {
    TextList().swap(*list);
  }
}

void MessageForm::Close() {
  if (closing_ || !FormCloseQuery()) return;
  closing_ = true;
  platform_.ui.EndProgram();
}

// The installation's handlers live in the install layer.
void MessageForm::OkButtonClick() { installation_.OkButtonClick(); }
void MessageForm::DirButtonClick() { installation_.DirButtonClick(); }
void MessageForm::CancelButtonClick() { installation_.CancelButtonClick(); }
void MessageForm::CopyFormCancelButtonClick() { installation_.CopyFormCancelButtonClick(); }
bool MessageForm::FormCloseQuery() { return installation_.FormCloseQuery(); }

void MessageForm::BackFormActivate() {
  if (flags_.Installing) {
    platform_.ui.BringProgressToFront();
  } else {
    platform_.ui.BringMainDialogToFront();
  }
}

}  // namespace setup
