// The window calls whose wide form only Windows NT implements. The program's texts are shown
// through the wide forms there, so Japanese reads right whatever the ANSI code page; Windows
// 95, 98 and Me export the wide forms as stubs that fail, so there the ANSI forms are used,
// with the text converted to the ANSI code page (Shift-JIS on the Japanese systems the
// program is made for). Messages without text go through the ANSI forms everywhere.
#pragma once

#include <string>

#include "setup/platform/win32/windows_api.h"

#include "setup/platform/win32/wide_text.h"

namespace setup::win32 {

// True on the Windows NT family, unless the ANSI path was forced.
bool UsesWideWindowCalls();
// Makes every later call take the Windows 9x path; the layer test uses it to exercise that
// path on an NT-family system.
void ForceAnsiWindowCalls();

// className is plain ASCII in both forms.
bool RegisterWindowClass(const char* className, WNDPROC procedure, HBRUSH background, UINT classStyle = 0);
HWND CreateWindowWithText(DWORD exStyle, const char* className, const WideString& text, DWORD style, int left, int top,
                          int width, int height, HWND parent, int id, void* parameter);
LRESULT DefaultWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void SetWindowTextWide(HWND window, const WideString& text);
WideString WindowTextWide(HWND window);
void SetWindowTextUtf8(HWND window, const std::string& textUtf8);
void SetWindowTextAnsi(HWND window, const std::string& textAnsi);

// The message loop's calls, in the form that matches the windows.
BOOL GetNextMessage(MSG* message);
BOOL PeekNextMessage(MSG* message);
BOOL IsDialogKey(HWND dialog, MSG* message);
void DispatchNextMessage(const MSG* message);

HFONT CreateFaceFont(int height, int weight, bool italic, BYTE charset, const WideString& face);
// DrawText with the text in the form that matches the windows.
void DrawTextLines(HDC context, const WideString& text, RECT* bounds, UINT format);
// The size of text drawn in the given font, lines broken at CR LF.
SIZE MeasureTextLines(HFONT font, const WideString& text);

}  // namespace setup::win32
