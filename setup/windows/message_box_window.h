// The program's own message box: caption and icon by kind, Japanese button texts with access
// keys, and the default and Escape answers the installer relies on, the same on every Windows.
#pragma once

#include "setup/platform/win32/wide_text.h"

#include <string>

#include "setup/platform/platform.h"
#include "setup/windows/form_window.h"

namespace setup::win32 {

class MessageBoxWindow final : public FormWindow {
 public:
  // Shows the box centred on the screen, modal to the program's windows, and returns the answer.
  static Answer Ask(HWND owner, BoxKind kind, BoxButtons buttons, const std::string& textUtf8);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  explicit MessageBoxWindow(BoxButtons buttons) : buttons_(buttons) {}
  bool Create(HWND owner, BoxKind kind, const WideString& text);
  void Finish(Answer answer);

  BoxButtons buttons_;
  Answer answer_ = Answer::Closed;
  bool finished_ = false;
  int defaultButton_ = IDOK;
};

}  // namespace setup::win32
