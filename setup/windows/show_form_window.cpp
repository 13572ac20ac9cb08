// The notice window: layout and its modal run.
#include "setup/windows/show_form_window.h"

#include "setup/platform/win32/wide_text.h"
#include "setup/platform/win32/window_calls.h"

namespace setup::win32 {
namespace {

constexpr int kMessageLabel = 100;
constexpr int kFormFontSize = 15;

}  // namespace

bool ShowFormWindow::Create(HWND owner) {
  const FormStyle form = {"SetupShowForm",
                          WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN,
                          WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                          reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                          owner,
                          230,
                          80};
  if (!CreateForm(form)) return false;
  HFONT font = LayoutFont(kFormFontSize);
  messageLabel_ = AddControl("Static", L"", SS_CENTER | SS_NOPREFIX, {4, 12, 221, 25}, kMessageLabel, font);
  okButton_ = AddControl("Button", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, {76, 48, 75, 25}, IDOK, font);
  SetInitialFocus(okButton_);
  SetDefaultButton(IDOK);
  return true;
}

void ShowFormWindow::ShowModal(const std::string& captionUtf8, const std::string& messageUtf8) {
  SetWindowTextUtf8(handle(), captionUtf8);
  SetWindowTextUtf8(messageLabel_, messageUtf8);
  CenterOnScreen(handle());
  HWND previous = GetActiveWindow();
  dismissed_ = false;
  ShowWindow(handle(), SW_SHOW);
  SetForegroundWindow(handle());
  SetFocus(okButton_);
  RunModalLoop(handle(), dismissed_);
  ShowWindow(handle(), SW_HIDE);
  if (previous != nullptr && previous != handle() && IsWindowVisible(previous)) SetActiveWindow(previous);
}

LRESULT ShowFormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) dismissed_ = true;
      return 0;
    case WM_CLOSE:
      // Alt+F4 ends the notice as OK does; the notice has no other answer.
      dismissed_ = true;
      return 0;
    default:
      return FormWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace setup::win32
