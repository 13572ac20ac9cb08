// The window procedure of a control the program draws itself: the control's state is made with
// its window (WM_NCCREATE), kept in GWLP_USERDATA and deleted with it (WM_NCDESTROY), and every
// message in between goes to the control's handler together with it.
#pragma once

#include "setup/platform/win32/windows_api.h"

#include "setup/platform/win32/window_calls.h"

namespace setup::win32 {

template <typename State, LRESULT (*Handle)(HWND, State&, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK ControlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new State));
  auto* state = reinterpret_cast<State*>(GetWindowLongPtrA(control, GWLP_USERDATA));
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(control, GWLP_USERDATA, 0);
    delete state;
    state = nullptr;
  }
  if (state == nullptr) return DefaultWindowProcedure(control, message, wParam, lParam);
  return Handle(control, *state, message, wParam, lParam);
}

// Registers the class of such a control. It keeps a device context of its own (CS_OWNDC): the
// copy step paints the controls through GetDC for every file, and under Wine taking and
// releasing a shared one is a server round trip each time (docs/performance.md).
template <typename State, LRESULT (*Handle)(HWND, State&, UINT, WPARAM, LPARAM)>
bool RegisterControlClass(const char* className) {
  return RegisterWindowClass(className, &ControlProcedure<State, Handle>, nullptr, CS_OWNDC);
}

}  // namespace setup::win32
