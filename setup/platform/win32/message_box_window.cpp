// The message box: its size follows the text; everything else is fixed.
#include "setup/platform/win32/message_box_window.h"

#include <algorithm>

#include "setup/platform/win32/wide_text.h"
#include "setup/platform/win32/window_calls.h"

namespace setup::win32 {
namespace {

constexpr int kFontSize = 12;
constexpr int kMargin = 16;
constexpr int kIconSize = 32;
constexpr int kTextGap = 12;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 24;
constexpr int kButtonGap = 8;
constexpr int kMinimumClientWidth = 220;
constexpr int kIconControl = 100;
constexpr int kTextControl = 101;

const wchar_t* CaptionOf(BoxKind kind) {
  switch (kind) {
    case BoxKind::Warning:
      return L"警告";
    case BoxKind::Error:
      return L"エラー";
    case BoxKind::Information:
      return L"情報";
    case BoxKind::Confirmation:
      return L"確認";
  }
  return L"";
}

LPCSTR IconOf(BoxKind kind) {
  switch (kind) {
    case BoxKind::Warning:
      return IDI_WARNING;
    case BoxKind::Error:
      return IDI_HAND;
    case BoxKind::Information:
      return IDI_ASTERISK;
    case BoxKind::Confirmation:
      return IDI_QUESTION;
  }
  return IDI_HAND;
}

}  // namespace

Answer MessageBoxWindow::Ask(HWND owner, BoxKind kind, BoxButtons buttons, const std::string& textUtf8) {
  MessageBoxWindow box(buttons);
  if (!box.Create(owner, kind, Utf8ToWide(textUtf8))) return Answer::Closed;
  HWND previous = GetActiveWindow();
  ShowWindow(box.handle(), SW_SHOW);
  SetForegroundWindow(box.handle());
  SetFocus(GetDlgItem(box.handle(), box.defaultButton_));
  RunModalLoop(box.handle(), box.finished_);
  ShowWindow(box.handle(), SW_HIDE);
  if (previous != nullptr && previous != box.handle() && IsWindowVisible(previous)) SetActiveWindow(previous);
  return box.answer_;
}

bool MessageBoxWindow::Create(HWND owner, BoxKind kind, const WideString& text) {
  const SIZE textSize = MeasureTextLines(LayoutFont(kFontSize), text);
  const int buttonCount = buttons_ == BoxButtons::YesNo ? 2 : 1;
  const int buttonsWidth = buttonCount * kButtonWidth + (buttonCount - 1) * kButtonGap;
  const int textLeft = kMargin + kIconSize + kTextGap;
  const int contentHeight = std::max<int>(kIconSize, textSize.cy);
  const int clientWidth =
      std::max({kMinimumClientWidth, textLeft + static_cast<int>(textSize.cx) + kMargin, buttonsWidth + 2 * kMargin});
  const int buttonTop = kMargin + contentHeight + kMargin;
  const int clientHeight = buttonTop + kButtonHeight + kMargin - 4;

  const FormStyle form = {"SetupMessageBox",
                          WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                          WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                          reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                          owner,
                          clientWidth,
                          clientHeight};
  if (!CreateForm(form)) return false;
  SetWindowTextWide(handle(), CaptionOf(kind));

  HWND icon = AddControl("Static", L"", SS_ICON, {kMargin, kMargin, kIconSize, kIconSize}, kIconControl, nullptr);
  SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, IconOf(kind))), 0);
  const int textTop = kMargin + (contentHeight - static_cast<int>(textSize.cy)) / 2;
  AddControl("Static", text.c_str(), SS_LEFT | SS_NOPREFIX,
             {textLeft, textTop, static_cast<int>(textSize.cx), static_cast<int>(textSize.cy)}, kTextControl,
             LayoutFont(kFontSize));

  HFONT font = LayoutFont(kFontSize);
  int left = (clientWidth - buttonsWidth) / 2;
  if (buttons_ == BoxButtons::YesNo) {
    defaultButton_ = IDYES;
    AddControl("Button", L"はい(&Y)", WS_TABSTOP | BS_DEFPUSHBUTTON, {left, buttonTop, kButtonWidth, kButtonHeight},
               IDYES, font);
    left += kButtonWidth + kButtonGap;
    AddControl("Button", L"いいえ(&N)", WS_TABSTOP | BS_PUSHBUTTON, {left, buttonTop, kButtonWidth, kButtonHeight},
               IDNO, font);
  } else {
    defaultButton_ = IDOK;
    AddControl("Button", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, {left, buttonTop, kButtonWidth, kButtonHeight}, IDOK,
               font);
  }
  SetInitialFocus(GetDlgItem(handle(), defaultButton_));
  SetDefaultButton(defaultButton_);
  return true;
}

void MessageBoxWindow::Finish(Answer answer) {
  answer_ = answer;
  finished_ = true;
}

LRESULT MessageBoxWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDYES:
          if (buttons_ == BoxButtons::YesNo) Finish(Answer::Yes);
          break;
        case IDNO:
          if (buttons_ == BoxButtons::YesNo) Finish(Answer::No);
          break;
        case IDOK:
          // Enter on a control that is not a button arrives as IDOK; the default button answers it.
          Finish(buttons_ == BoxButtons::Ok ? Answer::Ok : Answer::Yes);
          break;
        case IDCANCEL:
          // Escape: No in a Yes/No box, OK in an OK box.
          Finish(buttons_ == BoxButtons::Ok ? Answer::Ok : Answer::No);
          break;
        default:
          break;
      }
      return 0;
    case WM_CLOSE:
      // The close button and Alt+F4: an OK box answers OK; a Yes/No box reports the close itself,
      // and each question decides what it means (the abort question aborts, the others take No).
      Finish(buttons_ == BoxButtons::Ok ? Answer::Ok : Answer::Closed);
      return 0;
    default:
      return FormWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace setup::win32
