// The message box: its size follows the text; everything else is fixed.
#include "setup/windows/message_box_window.h"

#include <algorithm>
#include <vector>

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

struct BoxButton {
  int id;
  const wchar_t* text;
  Answer answer;
};

// The buttons of each kind of box, left to right; the first is the default.
std::vector<BoxButton> ButtonsOf(BoxButtons buttons) {
  switch (buttons) {
    case BoxButtons::YesNo:
      return {{IDYES, L"はい(&Y)", Answer::Yes}, {IDNO, L"いいえ(&N)", Answer::No}};
    case BoxButtons::AbortRetryIgnore:
      return {{IDABORT, L"中止(&A)", Answer::Abort},
              {IDRETRY, L"再試行(&R)", Answer::Retry},
              {IDIGNORE, L"無視(&I)", Answer::Ignore}};
    case BoxButtons::Ok:
      break;
  }
  return {{IDOK, L"OK", Answer::Ok}};
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
  const int buttonCount = static_cast<int>(ButtonsOf(buttons_).size());
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
  const std::vector<BoxButton> row = ButtonsOf(buttons_);
  defaultButton_ = row.front().id;
  for (const BoxButton& button : row) {
    const DWORD kind = button.id == defaultButton_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    AddControl("Button", button.text, WS_TABSTOP | kind, {left, buttonTop, kButtonWidth, kButtonHeight}, button.id,
               font);
    left += kButtonWidth + kButtonGap;
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
    case WM_COMMAND: {
      const int command = LOWORD(wParam);
      const std::vector<BoxButton> row = ButtonsOf(buttons_);
      // Enter on a control that is not a button arrives as IDOK; the default button answers it.
      const int pressed = command == IDOK ? defaultButton_ : command;
      for (const BoxButton& button : row) {
        if (button.id == pressed) Finish(button.answer);
      }
      // Escape: No in a Yes/No box, OK in an OK box; an abort-retry-ignore box has no button for
      // it and, as on Windows, takes no notice.
      if (command == IDCANCEL && buttons_ != BoxButtons::AbortRetryIgnore) {
        Finish(buttons_ == BoxButtons::Ok ? Answer::Ok : Answer::No);
      }
      return 0;
    }
    case WM_CLOSE:
      // The close button and Alt+F4: an OK box answers OK; a Yes/No box reports the close itself,
      // and each question decides what it means (the abort question aborts, the others take No).
      // An abort-retry-ignore box must be answered with one of its buttons.
      if (buttons_ != BoxButtons::AbortRetryIgnore) Finish(buttons_ == BoxButtons::Ok ? Answer::Ok : Answer::Closed);
      return 0;
    default:
      return FormWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace setup::win32
