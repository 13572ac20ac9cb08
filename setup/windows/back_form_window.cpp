// The background window, and its rule of handing the activation on to the working window.
#include "setup/windows/back_form_window.h"

#include "setup/app/message_form.h"
#include "setup/platform/win32/wide_text.h"
#include "setup/platform/win32/window_calls.h"

namespace setup::win32 {
namespace {

constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kTitleLabel = 100;
constexpr int kTitleFontSize = 30;

}  // namespace

BackFormWindow::~BackFormWindow() {
  if (navy_ != nullptr) DeleteObject(navy_);
}

bool BackFormWindow::Create() {
  navy_ = CreateSolidBrush(kNavy);
  // A single-line border and a title bar without system menu or buttons.
  const FormStyle form = {"SetupBackForm", WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN, 0, navy_, nullptr, 640, 480};
  if (!CreateForm(form)) return false;
  titleLabel_ = AddControl("Static", L"", SS_LEFT | SS_NOPREFIX, {12, 12, 541, 30}, kTitleLabel,
                           LayoutFont(kTitleFontSize, true));
  return true;
}

void BackFormWindow::Show(const std::string& captionUtf8, const std::string& titleUtf8) {
  SetWindowTextUtf8(handle(), captionUtf8);
  SetWindowTextUtf8(titleLabel_, titleUtf8);
  ShowWindow(handle(), SW_SHOWMAXIMIZED);
  UpdateWindow(handle());
}

LRESULT BackFormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CTLCOLORSTATIC: {
      HDC context = reinterpret_cast<HDC>(wParam);
      SetTextColor(context, kWhite);
      SetBkColor(context, kNavy);
      return reinterpret_cast<LRESULT>(navy_);
    }
    case WM_ACTIVATE:
      // Handed on once the activation has settled: moving the foreground from inside
      // WM_ACTIVATE would start a new activation while this one is still in progress.
      if (LOWORD(wParam) != WA_INACTIVE) PostMessageA(handle(), kDeferredActivateMessage, 0, 0);
      return FormWindow::HandleMessage(message, wParam, lParam);
    case kDeferredActivateMessage:
      if (link_.form != nullptr && GetActiveWindow() == handle()) link_.form->BackFormActivate();
      return 0;
    case WM_CLOSE:
      return 0;  // only the main dialog's close ends the program
    default:
      return FormWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace setup::win32
