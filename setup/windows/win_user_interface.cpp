// The user interface: forwarding to the forms, the message pumps and the end of the program.
#include "setup/windows/win_user_interface.h"

#include "setup/platform/win32/window_calls.h"
#include "setup/windows/message_box_window.h"

namespace setup::win32 {

bool WinUserInterface::CreateMainDialog() { return mainDialog_.Create(); }

bool WinUserInterface::CreateRemainingForms() {
  bool created = backForm_.Create();
  created = showForm_.Create(MainDialog()) && created;
  if (copyForm_ == nullptr) {
    copyForm_ = std::make_unique<CopyFormWindow>(link_);
    created = copyForm_->Create(MainDialog()) && created;
  }
  return created;
}

void WinUserInterface::ShowMainDialogCentred() {
  CenterOnScreen(MainDialog());
  ShowWindow(MainDialog(), SW_SHOW);
  UpdateWindow(MainDialog());
  SetForegroundWindow(MainDialog());
}

void WinUserInterface::PostFormShow() { PostMessageA(MainDialog(), kFormShowMessage, 0, 0); }

void WinUserInterface::RunMessageLoop() {
  MSG message;
  while (GetNextMessage(&message) > 0) DispatchWithDialogKeys(message);
}

// While the installation runs the main dialog is hidden, and a box belongs to the progress window
// the user is looking at.
Answer WinUserInterface::MessageBox(BoxKind kind, BoxButtons buttons, const std::string& textUtf8) {
  const bool progressShown = copyForm_ != nullptr && IsWindowVisible(copyForm_->handle());
  return MessageBoxWindow::Ask(progressShown ? copyForm_->handle() : MainDialog(), kind, buttons, textUtf8);
}

void WinUserInterface::ShowNotice(const std::string& captionUtf8, const std::string& messageUtf8) {
  if (showForm_.handle() == nullptr && !showForm_.Create(MainDialog())) return;
  showForm_.ShowModal(captionUtf8, messageUtf8);
}

void WinUserInterface::Beep() { MessageBeep(0); }

void WinUserInterface::PumpMessages() {
  MSG message;
  while (PeekNextMessage(&message)) {
    if (message.message == WM_QUIT) {
      // Left for the loop that owns the program's end.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    DispatchWithDialogKeys(message);
  }
}

void WinUserInterface::SetMainCaption(const std::string& captionUtf8) { mainDialog_.SetCaption(captionUtf8); }

void WinUserInterface::SetMainMessage(const std::string& messageUtf8) { mainDialog_.SetMessage(messageUtf8); }

void WinUserInterface::SetFolderText(const std::string& folderAnsi) { mainDialog_.SetFolderText(folderAnsi); }

std::string WinUserInterface::FolderText() { return mainDialog_.FolderText(); }

void WinUserInterface::HideMainDialog() { ShowWindow(MainDialog(), SW_HIDE); }

void WinUserInterface::BringMainDialogToFront() { SetForegroundWindow(MainDialog()); }

// The main dialog has no owner, so it is the window of the program's taskbar entry.
void WinUserInterface::BringApplicationToFront() { SetForegroundWindow(MainDialog()); }

void WinUserInterface::EndProgram() {
  // Called from inside handlers that are still running: nothing is destroyed here, the
  // windows only disappear, and the loop ends when control gets back to it.
  endRequested_ = true;
  if (copyForm_ != nullptr) copyForm_->Hide();
  if (showForm_.handle() != nullptr) ShowWindow(showForm_.handle(), SW_HIDE);
  if (backForm_.handle() != nullptr) ShowWindow(backForm_.handle(), SW_HIDE);
  ShowWindow(MainDialog(), SW_HIDE);
  PostQuitMessage(0);
}

void WinUserInterface::ShowBackground(const std::string& captionUtf8, const std::string& titleUtf8) {
  if (backForm_.handle() == nullptr) return;
  backForm_.Show(captionUtf8, titleUtf8);
}

ProgressWindow& WinUserInterface::MainProgress() {
  if (copyForm_ == nullptr) {
    // Asked for before start-up made it: made now rather than handing out nothing.
    copyForm_ = std::make_unique<CopyFormWindow>(link_);
    copyForm_->Create(MainDialog());
  }
  return *copyForm_;
}

void WinUserInterface::BringProgressToFront() {
  if (copyForm_ != nullptr) SetForegroundWindow(copyForm_->handle());
}

std::unique_ptr<ProgressWindow> WinUserInterface::CreateProgressWindow() {
  auto window = std::make_unique<CopyFormWindow>(link_);
  window->Create(MainDialog());
  return window;
}

}  // namespace setup::win32
