// The label: its text, its font, its messages and its painting.
#include "setup/windows/label_control.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "setup/platform/win32/wide_text.h"
#include "setup/platform/win32/window_calls.h"
#include "setup/windows/control_procedure.h"

namespace setup::win32 {
namespace {

struct LabelState {
  WideString text;
  HFONT font = nullptr;
};

// A text the window procedure receives: wide where the window calls are wide, ANSI elsewhere.
WideString ReceivedText(LPARAM text) {
  if (text == 0) return WideString();
  if (UsesWideWindowCalls()) return WideString(reinterpret_cast<const wchar_t*>(text));
  return AnsiToWide(reinterpret_cast<const char*>(text));
}

// WM_GETTEXT: as much of the text as fits before the terminating zero; the characters copied.
LRESULT CopyText(const WideString& text, WPARAM room, LPARAM buffer) {
  if (room == 0 || buffer == 0) return 0;
  if (UsesWideWindowCalls()) {
    const std::size_t count = std::min<std::size_t>(text.size(), room - 1);
    auto* out = reinterpret_cast<wchar_t*>(buffer);
    std::copy_n(text.data(), count, out);
    out[count] = L'\0';
    return static_cast<LRESULT>(count);
  }
  const std::string ansi = FromWide(text, CP_ACP);
  const std::size_t count = std::min<std::size_t>(ansi.size(), room - 1);
  auto* out = reinterpret_cast<char*>(buffer);
  std::memcpy(out, ansi.data(), count);
  out[count] = '\0';
  return static_cast<LRESULT>(count);
}

LRESULT TextLength(const WideString& text) {
  return static_cast<LRESULT>(UsesWideWindowCalls() ? text.size() : FromWide(text, CP_ACP).size());
}

void Paint(HWND label, HDC dc, const LabelState& state) {
  RECT client;
  GetClientRect(label, &client);
  // The parent sets the colours and gives the background brush, as for a label control.
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageA(GetParent(label), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label)));
  FillRect(dc, &client, brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE));
  HGDIOBJ previousFont = state.font != nullptr ? SelectObject(dc, state.font) : nullptr;
  const int previousMode = SetBkMode(dc, TRANSPARENT);
  DrawTextLines(dc, state.text, &client, DT_LEFT | DT_NOPREFIX | DT_EXPANDTABS);
  SetBkMode(dc, previousMode);
  if (previousFont != nullptr) SelectObject(dc, previousFont);
}

void PaintNow(HWND label, const LabelState& state) {
  if (!IsWindowVisible(label)) return;  // showing it paints it
  HDC dc = GetDC(label);
  Paint(label, dc, state);
  ReleaseDC(label, dc);
}

LRESULT HandleLabelMessage(HWND label, LabelState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      // The default handling stores the design text in the window manager as well.
      state.text = ReceivedText(reinterpret_cast<LPARAM>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpszName));
      return DefaultWindowProcedure(label, message, wParam, lParam);
    case WM_SETTEXT:
      state.text = ReceivedText(lParam);
      PaintNow(label, state);
      return TRUE;
    case WM_GETTEXT:
      return CopyText(state.text, wParam, lParam);
    case WM_GETTEXTLENGTH:
      return TextLength(state.text);
    case WM_SETFONT:
      state.font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam) != 0) InvalidateRect(label, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(state.font);
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // clicks go to the window below, as with a label control
    case WM_ERASEBKGND:
      return 1;  // the painting covers every pixel
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(label, &paint);
      Paint(label, dc, state);
      EndPaint(label, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(label, reinterpret_cast<HDC>(wParam), state);
      return 0;
    default:
      return DefaultWindowProcedure(label, message, wParam, lParam);
  }
}

}  // namespace

bool RegisterLabelClass() { return RegisterControlClass<LabelState, HandleLabelMessage>(kLabelClass); }

}  // namespace setup::win32
