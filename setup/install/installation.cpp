// The main dialog's buttons: the destination checks, the DirectX offer and the installation
// sequence behind Start, the folder picker, and the Abort question.
#include <cstdint>
#include <optional>

#include "setup/install/config_file.h"
#include "setup/install/copy_files.h"
#include "setup/install/directx_version.h"
#include "setup/install/folders.h"
#include "setup/install/installation.h"
#include "setup/install/registry_entries.h"
#include "setup/install/start_menu.h"
#include "setup/install/step_context.h"
#include "setup/install/uninstall_record.h"
#include "setup/script/messages.h"

namespace setup {

namespace {

constexpr std::int64_t kMegabyte = 1048576;

// The message of the first of checks 2 to 5 that refuses the typed folder, if any.
std::optional<const char*> RefusalOfFolderName(Platform& platform, const std::string& typed) {
  if (typed.size() < 2) return text::kEnterFolder;
  if (typed[1] != ':') return text::kBadFolderName;
  if (typed.substr(1) == ":\\") return text::kDriveRootRefused;
  if (platform.files.GetDriveType(typed.substr(0, 3)) != DriveType::Fixed) return text::kNotHardDisk;
  return std::nullopt;
}

// SIZE is taken in 64 bits, so values of 2048 MB and more are checked as written.
bool HasEnoughSpace(Platform& platform, const std::string& typed, std::int32_t requiredMegabytes) {
  const std::int64_t required = static_cast<std::int64_t>(requiredMegabytes) * kMegabyte;
  if (required <= 0) return true;
  const std::optional<std::int64_t> available = platform.files.FreeBytes(typed.substr(0, 1) + ":\\");
  return available && required <= *available;
}

}  // namespace

void Installation::OkButtonClick() {
  UserInterface& ui = platform_.ui;
  if (flags_.NetworkBlocked) {
    ui.MessageBox(BoxKind::Error, BoxButtons::Ok, text::kNetworkRefused);
    closer_.Close();
    return;
  }
  const std::string typed = ui.FolderText();
  if (const std::optional<const char*> refusal = RefusalOfFolderName(platform_, typed)) {
    ui.MessageBox(BoxKind::Error, BoxButtons::Ok, *refusal);
    ui.SetFolderText(script_.DestDir);
    return;
  }
  script_.DestDir = typed;
  if (!HasEnoughSpace(platform_, typed, script_.RequiredSpace)) {
    const std::string message = text::kNoSpaceBefore + std::to_string(script_.RequiredSpace) + text::kNoSpaceAfter;
    ui.MessageBox(BoxKind::Error, BoxButtons::Ok, message);
    ui.SetFolderText(script_.DestDir);
    return;
  }
  if (!platform_.files.DirectoryExists(script_.DestDir)) {
    if (ui.MessageBox(BoxKind::Confirmation, BoxButtons::YesNo, text::kCreateFolder) != Answer::Yes) {
      closer_.Close();
      return;
    }
    CreateFolderWithParents(platform_, script_.DestDir, journal_);
  }
  if (GetDirectXVersion(platform_) < script_.RequiredDirectX) {
    OfferDirectX();
    return;
  }
  RunInstallationSequence();
}

void Installation::OfferDirectX() {
  if (platform_.ui.MessageBox(BoxKind::Confirmation, BoxButtons::YesNo, text::kOfferDirectX) == Answer::Yes) {
    platform_.shell.OpenFile(DirectXSetupPath(script_.SourceRoot));
  } else {
    platform_.ui.ShowNotice(text::kInstallCaption, text::kInstallAborted);
  }
  closer_.Close();
}

void Installation::RunInstallationSequence() {
  UserInterface& ui = platform_.ui;
  ProgressWindow& progress = ui.MainProgress();
  StepContext context{script_, flags_, platform_, progress, journal_};
  ui.HideMainDialog();
  progress.Show();
  flags_.Installing = true;
  flags_.AbortRequested = false;

  CopyFiles(context);
  // The sequence runs once, and the COPY lines, most of a long script, are done with.
  TextList().swap(script_.CopyList);
  progress.StopAnimation();
  if (!flags_.AbortRequested) MakeRegistryData(context);
  if (!flags_.AbortRequested) MakeConfigFile(context);
  if (!flags_.AbortRequested) {
    MakeStartMenu(context);
    platform_.shell.BroadcastSettingChange();
  }
  if (!flags_.AbortRequested) MakeUnInstallData(context);
  if (!flags_.AbortRequested) {
    progress.Hide();
    ui.BringApplicationToFront();
    flags_.Installing = false;
    ui.Beep();
    ui.ShowNotice(text::kInstallCaption, text::kInstallFinished);
  } else {
    // However the run stopped, what it made goes again; a failed step has said why, and the user
    // hears that the installation was stopped once the machine is as it was.
    journal_.TakeBack(platform_, progress, script_.InstalledFiles);
    if (context.failed) ui.ShowNotice(text::kInstallCaption, text::kInstallAborted);
  }
  closer_.Close();
}

void Installation::DirButtonClick() {
  const std::optional<std::string> chosen = platform_.shell.BrowseForFolder(text::kBrowseTitle);
  if (chosen) platform_.ui.SetFolderText(*chosen);
}

void Installation::CancelButtonClick() {
  if (platform_.ui.MessageBox(BoxKind::Warning, BoxButtons::YesNo, text::kQuitNotInstalled) == Answer::Yes)
    closer_.Close();
}

void Installation::CopyFormCancelButtonClick() {
  // Nothing to stop: the uninstaller's window, or an installation already being taken back.
  if (flags_.UninstallMode || !flags_.Installing) return;
  if (platform_.ui.MessageBox(BoxKind::Warning, BoxButtons::YesNo, text::kQuitNotInstalled) == Answer::Yes) {
    flags_.AbortRequested = true;
    flags_.Installing = false;
  }
}

bool Installation::FormCloseQuery() {
  if (!flags_.Installing) return true;
  if (platform_.ui.MessageBox(BoxKind::Warning, BoxButtons::YesNo, text::kQuitWhileInstalling) == Answer::No) {
    return false;
  }
  flags_.AbortRequested = true;
  flags_.Installing = false;
  return true;
}

}  // namespace setup
