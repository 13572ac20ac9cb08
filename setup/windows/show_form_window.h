// ShowForm's view: the small notice window with one OK button, shown modally.
#pragma once

#include <string>

#include "setup/windows/form_window.h"

namespace setup::win32 {

class ShowFormWindow final : public FormWindow {
 public:
  // The owner keeps the notice above the main dialog and off the taskbar.
  bool Create(HWND owner);
  // Shows the notice centred and returns once it has been dismissed.
  void ShowModal(const std::string& captionUtf8, const std::string& messageUtf8);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  HWND messageLabel_ = nullptr;
  HWND okButton_ = nullptr;
  bool dismissed_ = false;
};

}  // namespace setup::win32
