// MessageForm's behaviour: start-up, mode decision, the main dialog's handlers and the
// background's activation rule. The windows themselves are views behind UserInterface.
#pragma once

#include <string>

#include "setup/install/installation.h"
#include "setup/platform/platform.h"
#include "setup/script/flags.h"
#include "setup/script/setup_script.h"

namespace setup {

// True when the program's own file name is anything but "setup.exe" (letter case ignored).
bool IsUninstallerName(Platform& platform, const std::string& modulePath);

class MessageForm final : public DialogCloser {
 public:
  explicit MessageForm(Platform& platform) : platform_(platform) {}

  // Runs while the main dialog is created: decides the mode, loads the script, asks the
  // PC-9821 question, and in uninstall mode runs the whole uninstall.
  void FormCreate();
  // Runs when the message loop first shows the main dialog.
  void FormShow();
  // Runs after the message loop has ended.
  void FormClose();
  // Asked before every close; true lets the close go ahead.
  bool FormCloseQuery();
  // Every close of the main dialog, from the program itself or from outside.
  void Close() override;

  void OkButtonClick();
  void DirButtonClick();
  void CancelButtonClick();

  // BackForm's FormActivate.
  void BackFormActivate();
  // CopyForm's Cancel button.
  void CopyFormCancelButtonClick();

  bool closing() const { return closing_; }
  SetupScript& script() { return script_; }
  Flags& flags() { return flags_; }

 private:
  void DecidePC9821();

  Platform& platform_;
  SetupScript script_;
  Flags flags_;
  Installation installation_{script_, flags_, platform_, *this};
  bool closing_ = false;
};

}  // namespace setup
