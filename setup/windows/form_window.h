// The common shape of the program's top-level windows: a registered class per form, a C++
// object behind each HWND, child controls of the standard classes at fixed pixel positions,
// the layout font, and the dialog-style keyboard handling that IsDialogMessage provides.
#pragma once

#include <string>

#include "setup/platform/win32/windows_api.h"

#include "setup/platform/win32/wide_text.h"

namespace setup::win32 {

// The layout font "ＭＳ Ｐゴシック" in the Shift-JIS character set; pixelHeight is the
// character height (lfHeight = -pixelHeight). Fonts are made once and live as long as the process.
HFONT LayoutFont(int pixelHeight, bool boldItalic = false);

// Moves a window so that it is centred on the screen.
void CenterOnScreen(HWND window);

// A control's place in its window's client area, in pixels.
struct Box {
  int left;
  int top;
  int width;
  int height;
};

// Private messages the forms post to themselves.
constexpr UINT kFormShowMessage = WM_APP + 1;
constexpr UINT kDeferredActivateMessage = WM_APP + 2;

class FormWindow {
 public:
  FormWindow() = default;
  virtual ~FormWindow();
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  HWND handle() const { return handle_; }

 protected:
  struct FormStyle {
    const char* className;
    DWORD style;
    DWORD exStyle;
    HBRUSH background;
    HWND owner;
    int clientWidth;
    int clientHeight;
  };

  // Registers the class on first use and creates the window hidden, centred, with the given
  // client-area size. False when the window could not be made.
  bool CreateForm(const FormStyle& form);
  HWND AddControl(const char* className, const WideString& text, DWORD style, const Box& box, int id, HFONT font,
                  DWORD exStyle = 0);
  // The control that gets the focus when the window becomes active for the first time.
  void SetInitialFocus(HWND control) { lastFocus_ = control; }
  // The button Enter presses while the focus is on a control that is not a push button.
  void SetDefaultButton(int id) { defaultButton_ = id; }

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool HandleDialogFocus(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

  HWND handle_ = nullptr;
  HWND lastFocus_ = nullptr;
  int defaultButton_ = 0;
};

// Hands a message to IsDialogMessage for the active window (Tab, Enter, Escape and access
// keys), or translates and dispatches it.
void DispatchWithDialogKeys(MSG& message);

// Runs a nested message loop until finished becomes true, with the thread's other visible
// windows disabled, as a modal dialog does. False when a quit message arrived first: it is
// posted again so the outer loop ends too.
bool RunModalLoop(HWND modal, const bool& finished);

}  // namespace setup::win32
