// Wide window calls on Windows NT, ANSI ones on Windows 9x.
#include "setup/platform/win32/window_calls.h"

#include <vector>

#include "setup/platform/win32/wide_text.h"

namespace setup::win32 {
namespace {

bool g_forceAnsi = false;

WideString AsciiToWide(const char* text) { return WideString(text, text + std::char_traits<char>::length(text)); }

}  // namespace

bool UsesWideWindowCalls() {
  // The high bit of GetVersion is set on Windows 95, 98 and Me.
  static const bool ntFamily = (GetVersion() & 0x80000000u) == 0;
  return ntFamily && !g_forceAnsi;
}

void ForceAnsiWindowCalls() { g_forceAnsi = true; }

bool RegisterWindowClass(const char* className, WNDPROC procedure, HBRUSH background, UINT classStyle) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  if (UsesWideWindowCalls()) {
    const WideString name = AsciiToWide(className);
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(instance, name.c_str(), &existing)) return true;
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = classStyle;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = arrow;
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name.c_str();
    return RegisterClassExW(&windowClass) != 0;
  }
  WNDCLASSEXA existing = {};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExA(instance, className, &existing)) return true;
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = classStyle;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = arrow;
  windowClass.hbrBackground = background;
  windowClass.lpszClassName = className;
  return RegisterClassExA(&windowClass) != 0;
}

HWND CreateWindowWithText(DWORD exStyle, const char* className, const WideString& text, DWORD style, int left, int top,
                          int width, int height, HWND parent, int id, void* parameter) {
  HMENU menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (UsesWideWindowCalls()) {
    return CreateWindowExW(exStyle, AsciiToWide(className).c_str(), text.c_str(), style, left, top, width, height,
                           parent, menu, instance, parameter);
  }
  return CreateWindowExA(exStyle, className, FromWide(text, CP_ACP).c_str(), style, left, top, width, height, parent,
                         menu, instance, parameter);
}

LRESULT DefaultWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return UsesWideWindowCalls() ? DefWindowProcW(window, message, wParam, lParam)
                               : DefWindowProcA(window, message, wParam, lParam);
}

void SetWindowTextWide(HWND window, const WideString& text) {
  if (UsesWideWindowCalls()) {
    SetWindowTextW(window, text.c_str());
  } else {
    SetWindowTextA(window, FromWide(text, CP_ACP).c_str());
  }
}

WideString WindowTextWide(HWND window) {
  if (UsesWideWindowCalls()) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return WideString();
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, buffer.data(), length + 1);
    return WideString(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
  }
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return WideString();
  std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, buffer.data(), length + 1);
  return AnsiToWide(std::string(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0));
}

void SetWindowTextUtf8(HWND window, const std::string& textUtf8) { SetWindowTextWide(window, Utf8ToWide(textUtf8)); }

void SetWindowTextAnsi(HWND window, const std::string& textAnsi) {
  if (UsesWideWindowCalls()) {
    SetWindowTextW(window, AnsiToWide(textAnsi).c_str());
  } else {
    SetWindowTextA(window, textAnsi.c_str());
  }
}

BOOL GetNextMessage(MSG* message) {
  return UsesWideWindowCalls() ? GetMessageW(message, nullptr, 0, 0) : GetMessageA(message, nullptr, 0, 0);
}

BOOL PeekNextMessage(MSG* message) {
  return UsesWideWindowCalls() ? PeekMessageW(message, nullptr, 0, 0, PM_REMOVE)
                               : PeekMessageA(message, nullptr, 0, 0, PM_REMOVE);
}

BOOL IsDialogKey(HWND dialog, MSG* message) {
  return UsesWideWindowCalls() ? IsDialogMessageW(dialog, message) : IsDialogMessageA(dialog, message);
}

void DispatchNextMessage(const MSG* message) {
  if (UsesWideWindowCalls()) {
    DispatchMessageW(message);
  } else {
    DispatchMessageA(message);
  }
}

HFONT CreateFaceFont(int height, int weight, bool italic, BYTE charset, const WideString& face) {
  if (UsesWideWindowCalls()) {
    return CreateFontW(height, 0, 0, 0, weight, italic, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  }
  return CreateFontA(height, 0, 0, 0, weight, italic, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, FromWide(face, CP_ACP).c_str());
}

void DrawTextLines(HDC context, const WideString& text, RECT* bounds, UINT format) {
  if (UsesWideWindowCalls()) {
    DrawTextW(context, text.c_str(), static_cast<int>(text.size()), bounds, format);
  } else {
    const std::string ansi = FromWide(text, CP_ACP);
    DrawTextA(context, ansi.c_str(), static_cast<int>(ansi.size()), bounds, format);
  }
}

SIZE MeasureTextLines(HFONT font, const WideString& text) {
  // A memory context compatible with the screen measures as the screen does. It is made once:
  // the progress label is measured for every file, and under Wine each GetDC of the screen
  // asks the server for the desktop's visible region (about 70 microseconds).
  static HDC memory = CreateCompatibleDC(nullptr);
  HDC context = memory != nullptr ? memory : GetDC(nullptr);
  HGDIOBJ previousFont = SelectObject(context, font);
  RECT bounds = {0, 0, 0, 0};
  DrawTextLines(context, text, &bounds, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
  SelectObject(context, previousFont);
  if (context != memory) ReleaseDC(nullptr, context);
  return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

}  // namespace setup::win32
