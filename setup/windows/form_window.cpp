// Window-class registration, creation, message routing, focus memory and the modal loop.
#include "setup/windows/form_window.h"

#include <map>
#include <utility>
#include <vector>

#include "setup/platform/win32/window_calls.h"

namespace setup::win32 {
namespace {

constexpr wchar_t kLayoutFace[] = L"ＭＳ Ｐゴシック";

struct DisabledWindows {
  HWND modal;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM context) {
  auto* disabled = reinterpret_cast<DisabledWindows*>(context);
  if (window != disabled->modal && IsWindowVisible(window) && IsWindowEnabled(window)) {
    disabled->windows.push_back(window);
  }
  return TRUE;
}

}  // namespace

HFONT LayoutFont(int pixelHeight, bool boldItalic) {
  static std::map<std::pair<int, bool>, HFONT> fonts;
  HFONT& font = fonts[{pixelHeight, boldItalic}];
  if (font == nullptr) {
    font = CreateFaceFont(-pixelHeight, boldItalic ? FW_BOLD : FW_NORMAL, boldItalic, SHIFTJIS_CHARSET, kLayoutFace);
  }
  return font;
}

void CenterOnScreen(HWND window) {
  RECT bounds;
  GetWindowRect(window, &bounds);
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

FormWindow::~FormWindow() {
  if (handle_ != nullptr) {
    HWND window = handle_;
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    handle_ = nullptr;
    DestroyWindow(window);
  }
}

bool FormWindow::CreateForm(const FormStyle& form) {
  if (!RegisterWindowClass(form.className, &FormWindow::WindowProcedure, form.background)) return false;
  RECT frame = {0, 0, form.clientWidth, form.clientHeight};
  AdjustWindowRectEx(&frame, form.style, FALSE, form.exStyle);
  CreateWindowWithText(form.exStyle, form.className, L"", form.style, 0, 0, frame.right - frame.left,
                       frame.bottom - frame.top, form.owner, 0, this);
  if (handle_ == nullptr) return false;
  CenterOnScreen(handle_);
  return true;
}

HWND FormWindow::AddControl(const char* className, const WideString& text, DWORD style, const Box& box, int id,
                            HFONT font, DWORD exStyle) {
  HWND control = CreateWindowWithText(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, box.left, box.top,
                                      box.width, box.height, handle_, id, nullptr);
  if (control != nullptr && font != nullptr) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

LRESULT FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultWindowProcedure(handle_, message, wParam, lParam);
}

// A window of our own class does none of what the dialog class does for its controls: it
// would neither give the focus back to the last focused control when it is activated again,
// nor act on WM_NEXTDLGCTL, which IsDialogMessage sends for the access key of a label, nor
// let Enter press the push button that has the focus rather than the default one.
bool FormWindow::HandleDialogFocus(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  *result = 0;
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(handle_, focus)) lastFocus_ = focus;
      }
      return false;
    case WM_SETFOCUS:
      if (lastFocus_ == nullptr || !IsWindow(lastFocus_)) return false;
      SetFocus(lastFocus_);
      return true;
    case WM_NEXTDLGCTL: {
      HWND target = lParam != 0 ? reinterpret_cast<HWND>(wParam)
                                : GetNextDlgTabItem(handle_, GetFocus(), wParam != 0 ? TRUE : FALSE);
      if (target == nullptr) return true;
      if (SendMessageA(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageA(target, EM_SETSEL, 0, -1);
      SetFocus(target);
      lastFocus_ = target;
      return true;
    }
    case DM_GETDEFID: {
      if (defaultButton_ == 0) return false;
      int id = defaultButton_;
      HWND focus = GetFocus();
      if (focus != nullptr && IsChild(handle_, focus) &&
          (SendMessageA(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0) {
        id = GetDlgCtrlID(focus);
      }
      *result = MAKELRESULT(id, DC_HASDEFID);
      return true;
    }
    default:
      return false;
  }
}

LRESULT CALLBACK FormWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    // lpCreateParams sits at the same place in the ANSI and the wide CREATESTRUCT.
    auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->handle_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return DefaultWindowProcedure(window, message, wParam, lParam);
  LRESULT result = 0;
  if (self->HandleDialogFocus(message, wParam, lParam, &result)) return result;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->handle_ = nullptr;
    return DefaultWindowProcedure(window, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

void DispatchWithDialogKeys(MSG& message) {
  HWND active = GetActiveWindow();
  if (active != nullptr && IsDialogKey(active, &message)) return;
  TranslateMessage(&message);
  DispatchNextMessage(&message);
}

bool RunModalLoop(HWND modal, const bool& finished) {
  DisabledWindows disabled{modal, {}};
  EnumThreadWindows(GetCurrentThreadId(), &CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled));
  for (HWND window : disabled.windows) EnableWindow(window, FALSE);

  bool quitSeen = false;
  MSG message;
  while (!finished) {
    const BOOL got = GetNextMessage(&message);
    if (got == 0 || got == -1) {
      quitSeen = true;
      PostQuitMessage(got == 0 ? static_cast<int>(message.wParam) : 0);
      break;
    }
    DispatchWithDialogKeys(message);
  }
  // Enabled again before the modal window goes, so the system can hand the activation back to one of them.
  for (HWND window : disabled.windows) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
  return !quitSeen;
}

}  // namespace setup::win32
