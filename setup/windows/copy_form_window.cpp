// The progress window: layout, the clip resources, the bar and the label that grows with its text.
#include "setup/windows/copy_form_window.h"

#include <commctrl.h>

#include <algorithm>

#include "setup/app/message_form.h"
#include "setup/platform/win32/system_library.h"
#include "setup/platform/win32/wide_text.h"
#include "setup/platform/win32/window_calls.h"
#include "setup/windows/label_control.h"
#include "setup/windows/progress_bar_control.h"

namespace setup::win32 {
namespace {

enum ControlId { kAnimation = 100, kProgressBar, kCancelButton, kLabel };

constexpr int kFormFontSize = 12;
constexpr int kLabelFontSize = 13;
constexpr Box kAnimationBox = {10, 10, 314, 55};
constexpr Box kLabelBox = {6, 102, 57, 13};
constexpr Box kCancelBox = {291, 102, 60, 20};

}  // namespace

CopyFormWindow::~CopyFormWindow() {
  if (animation_ != nullptr && IsWindow(animation_)) CloseClip();
}

bool CopyFormWindow::Create(HWND owner) {
  const FormStyle form = {"SetupCopyForm",
                          WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN,
                          WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                          reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                          owner,
                          356,
                          128};
  if (!RegisterProgressBarClass() || !RegisterLabelClass() || !CreateForm(form)) return false;
  SetWindowTextWide(handle(), L"ファイルのコピー");
  HFONT font = LayoutFont(kFormFontSize);
  // Cancel is made before the label so that it stays on top when a long file name makes the label reach under it.
  progressBar_ = AddControl(kProgressBarClass, L"", WS_TABSTOP, {6, 77, 344, 17}, kProgressBar, nullptr);
  HWND cancel = AddControl("Button", L"中止", WS_TABSTOP | BS_PUSHBUTTON, kCancelBox, kCancelButton, font);
  label_ = AddControl(kLabelClass, L"CopyLabel", WS_CLIPSIBLINGS, kLabelBox, kLabel, LayoutFont(kLabelFontSize));
  SetInitialFocus(cancel);
  return true;
}

void CopyFormWindow::PlayClip(const char* clipName) {
  clipName_ = clipName;
  stopped_ = false;
  if (animation_ == nullptr) return;
  SendMessageA(animation_, ACM_OPENA, reinterpret_cast<WPARAM>(GetModuleHandleA(nullptr)),
               reinterpret_cast<LPARAM>(clipName));
  // Without ACS_CENTER the control takes the clip's frame size when it opens one; the layout
  // wants the fixed box with the frame in its top-left corner.
  SetWindowPos(animation_, nullptr, 0, 0, kAnimationBox.width, kAnimationBox.height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(animation_, ACM_PLAY, static_cast<WPARAM>(-1), MAKELPARAM(0, 0xFFFF));
}

void CopyFormWindow::CloseClip() {
  if (animation_ != nullptr) SendMessageA(animation_, ACM_OPENA, 0, 0);
}

// The animation control is made when the window is first shown: making it loads comctl32 and
// the system's video libraries (a noticeable wait under Wine), which would otherwise delay the
// main dialog at start-up. It covers no other control, so being made last changes nothing on
// the screen.
void CopyFormWindow::MakeAnimation() {
  InitCommonControlsFromSystem();
  animation_ = AddControl(ANIMATE_CLASSA, L"", 0, kAnimationBox, kAnimation, nullptr);
  const bool stopped = stopped_;
  PlayClip(clipName_);
  if (stopped) StopAnimation();
}

// The label is one line high and as wide as its text, as an auto-sized label is. The copy step
// sets it for every file, so this goes through no WM_PAINT cycle, which under Wine is several
// server round trips for each window repainted. The label repaints its whole area at once when its text
// changes, past the text in the window's face colour. So it is widened, without a redraw,
// before it gets a longer text, and a shorter text leaves it as wide as it was: on the screen
// that is the same as a label that shrank over the window's face.
void CopyFormWindow::SetLabelWide(const WideString& text) {
  HFONT font = LayoutFont(kLabelFontSize);
  if (labelHeight_ == 0) labelHeight_ = MeasureTextLines(font, L"X").cy;
  const LONG width = text.empty() ? 0 : MeasureTextLines(font, text).cx;
  RECT bounds;
  GetClientRect(label_, &bounds);
  if (width > bounds.right || labelHeight_ != bounds.bottom) {
    // Only the first text can change the height, from the design height to one line of the
    // font; if that makes the label lower, the resize is redrawn so that the strip below is
    // erased.
    const UINT redraw = labelHeight_ < bounds.bottom ? 0 : SWP_NOREDRAW;
    SetWindowPos(label_, nullptr, 0, 0, std::max(width, bounds.right), labelHeight_,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | redraw);
  }
  SetWindowTextWide(label_, text);
}

void CopyFormWindow::SetLabel(const std::string& textUtf8) { SetLabelWide(Utf8ToWide(textUtf8)); }

void CopyFormWindow::SetRange(int maximum) { SendMessageA(progressBar_, PBM_SETRANGE32, 0, maximum); }

int CopyFormWindow::Position() { return static_cast<int>(SendMessageA(progressBar_, PBM_GETPOS, 0, 0)); }

// The bar repaints the blocks that change before the message returns.
void CopyFormWindow::SetPosition(int position) {
  SendMessageA(progressBar_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void CopyFormWindow::SetStep(int step) { SendMessageA(progressBar_, PBM_SETSTEP, static_cast<WPARAM>(step), 0); }

void CopyFormWindow::StepIt() { SendMessageA(progressBar_, PBM_STEPIT, 0, 0); }

void CopyFormWindow::StopAnimation() {
  stopped_ = true;
  if (animation_ != nullptr) SendMessageA(animation_, ACM_STOP, 0, 0);
}

void CopyFormWindow::SetDeleteMode() {
  CloseClip();
  SetWindowTextWide(handle(), L"アンインストール");
  SetLabelWide(L"ファイルの削除中");
  PlayClip("DELAVI");
}

void CopyFormWindow::Show() {
  if (animation_ == nullptr) MakeAnimation();
  CenterOnScreen(handle());
  ShowWindow(handle(), SW_SHOW);
  UpdateWindow(handle());
}

void CopyFormWindow::Hide() { ShowWindow(handle(), SW_HIDE); }

LRESULT CopyFormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kCancelButton && HIWORD(wParam) == BN_CLICKED && link_.form != nullptr) {
        link_.form->CopyFormCancelButtonClick();
      }
      return 0;
    case WM_CLOSE:
      return 0;  // the window has no close button; Alt+F4 must not take it away mid-copy
    default:
      return FormWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace setup::win32
