// The installation behind the main dialog's buttons: the destination checks, the DirectX offer
// and the installation's sequence behind Start, the folder picker, the Abort questions, and the
// question asked before the dialog closes. The app's MessageForm owns the state and calls them.
#pragma once

#include "setup/install/install_journal.h"
#include "setup/platform/platform.h"
#include "setup/script/flags.h"
#include "setup/script/setup_script.h"

namespace setup {

// Closes the main dialog, which ends the program; the app provides it.
class DialogCloser {
 public:
  virtual ~DialogCloser() = default;
  virtual void Close() = 0;
};

class Installation {
 public:
  Installation(SetupScript& script, Flags& flags, Platform& platform, DialogCloser& closer)
      : script_(script), flags_(flags), platform_(platform), closer_(closer) {}

  void OkButtonClick();
  void DirButtonClick();
  void CancelButtonClick();
  // CopyForm's Cancel button.
  void CopyFormCancelButtonClick();
  // Asked before every close of the main dialog; true lets the close go ahead.
  bool FormCloseQuery();

 private:
  void OfferDirectX();
  void RunInstallationSequence();

  SetupScript& script_;
  Flags& flags_;
  Platform& platform_;
  DialogCloser& closer_;
  // What Start made, from the folder it was asked to create to the last step.
  InstallJournal journal_;
};

}  // namespace setup
