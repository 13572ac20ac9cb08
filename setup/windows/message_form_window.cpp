// The main dialog: layout, and the routing of its buttons and close requests to MessageForm.
#include "setup/windows/message_form_window.h"

#include "setup/app/message_form.h"
#include "setup/platform/win32/wide_text.h"
#include "setup/platform/win32/window_calls.h"

namespace setup::win32 {
namespace {

enum ControlId {
  kMessageLabel = 100,
  kCopyLabel,
  kFolderLabel,
  kDirEdit,
  kDirButton,
  kBevel,
  kOkButton,
  kCancelButton,
};

constexpr int kClientWidth = 543;
constexpr int kClientHeight = 190;
constexpr int kFormFontSize = 15;
constexpr int kMessageFontSize = 20;

}  // namespace

bool MessageFormWindow::Create() {
  const FormStyle form = {"SetupMessageForm",
                          WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN,
                          WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                          reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                          nullptr,
                          kClientWidth,
                          kClientHeight};
  if (!CreateForm(form)) return false;
  HFONT font = LayoutFont(kFormFontSize);
  // Creation order is the tab order: DirEdit, DirButton, OkButton, CancelButton. Label1 comes
  // right before DirEdit so that its access key moves the focus there.
  messageLabel_ =
      AddControl("Static", L"", SS_CENTER | SS_NOPREFIX, {8, 12, 529, 33}, kMessageLabel, LayoutFont(kMessageFontSize));
  AddControl("Static", L"", SS_CENTER | SS_NOPREFIX, {24, 56, 493, 15}, kCopyLabel, font);
  AddControl("Static", L"インストール先フォルダ(&F)", SS_LEFTNOWORDWRAP, {8, 92, 163, 15}, kFolderLabel, font);
  dirEdit_ = AddControl("Edit", L"", WS_TABSTOP | ES_AUTOHSCROLL, {180, 88, 273, 23}, kDirEdit, font, WS_EX_CLIENTEDGE);
  AddControl("Button", L"参照...", WS_TABSTOP | BS_PUSHBUTTON, {460, 88, 75, 25}, kDirButton, font);
  AddControl("Static", L"", SS_SUNKEN, {21, 136, 500, 3}, kBevel, nullptr);
  AddControl("Button", L"開始", WS_TABSTOP | BS_DEFPUSHBUTTON, {376, 156, 75, 25}, kOkButton, font);
  AddControl("Button", L"中止", WS_TABSTOP | BS_PUSHBUTTON, {460, 156, 75, 25}, kCancelButton, font);
  SetInitialFocus(dirEdit_);
  SetDefaultButton(kOkButton);
  return true;
}

void MessageFormWindow::SetCaption(const std::string& captionUtf8) { SetWindowTextUtf8(handle(), captionUtf8); }

void MessageFormWindow::SetMessage(const std::string& messageUtf8) { SetWindowTextUtf8(messageLabel_, messageUtf8); }

void MessageFormWindow::SetFolderText(const std::string& folderAnsi) { SetWindowTextAnsi(dirEdit_, folderAnsi); }

std::string MessageFormWindow::FolderText() const { return FromWide(WindowTextWide(dirEdit_), CP_ACP); }

void MessageFormWindow::OnCommand(int id) {
  MessageForm* form = link_.form;
  if (form == nullptr) return;
  switch (id) {
    case kOkButton:
      form->OkButtonClick();
      break;
    case kDirButton:
      form->DirButtonClick();
      break;
    case kCancelButton:
      form->CancelButtonClick();
      break;
    default:
      break;  // Escape (IDCANCEL) is not bound to a button on this dialog.
  }
}

LRESULT MessageFormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) OnCommand(LOWORD(wParam));
      return 0;
    case WM_CLOSE:
      // Closes from outside (the taskbar, Alt+F4) go through the behaviour, which decides.
      if (link_.form != nullptr) link_.form->Close();
      return 0;
    case WM_QUERYENDSESSION:
      if (link_.form == nullptr) return TRUE;
      link_.form->Close();
      return link_.form->closing() ? TRUE : FALSE;
    case kFormShowMessage:
      if (link_.form != nullptr) link_.form->FormShow();
      return 0;
    default:
      return FormWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace setup::win32
