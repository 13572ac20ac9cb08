// UserInterface over the program's windows: it owns the four forms and the message loop.
#pragma once

#include "setup/platform/win32/windows_api.h"

#include <memory>

#include "setup/platform/platform.h"
#include "setup/windows/back_form_window.h"
#include "setup/windows/copy_form_window.h"
#include "setup/windows/form_link.h"
#include "setup/windows/message_form_window.h"
#include "setup/windows/show_form_window.h"

namespace setup::win32 {

class WinUserInterface final : public UserInterface {
 public:
  void Attach(MessageForm& form) { link_.form = &form; }

  // Start-up, in the program's order: the main dialog first (hidden), the other three after
  // MessageForm's FormCreate has run.
  bool CreateMainDialog();
  bool CreateRemainingForms();
  HWND MainDialog() const { return mainDialog_.handle(); }
  void ShowMainDialogCentred();
  // FormShow runs from inside the message loop, once the dialog is on the screen.
  void PostFormShow();
  // Runs until the quit message.
  void RunMessageLoop();
  bool endRequested() const { return endRequested_; }

  Answer MessageBox(BoxKind kind, BoxButtons buttons, const std::string& textUtf8) override;
  void ShowNotice(const std::string& captionUtf8, const std::string& messageUtf8) override;
  void Beep() override;
  void PumpMessages() override;

  void SetMainCaption(const std::string& captionUtf8) override;
  void SetMainMessage(const std::string& messageUtf8) override;
  void SetFolderText(const std::string& folderAnsi) override;
  std::string FolderText() override;
  void HideMainDialog() override;
  void BringMainDialogToFront() override;
  void BringApplicationToFront() override;
  void EndProgram() override;

  void ShowBackground(const std::string& captionUtf8, const std::string& titleUtf8) override;

  ProgressWindow& MainProgress() override;
  void BringProgressToFront() override;
  std::unique_ptr<ProgressWindow> CreateProgressWindow() override;

 private:
  FormLink link_;
  MessageFormWindow mainDialog_{link_};
  BackFormWindow backForm_{link_};
  ShowFormWindow showForm_;
  std::unique_ptr<CopyFormWindow> copyForm_;
  bool endRequested_ = false;
};

}  // namespace setup::win32
