// The start-up baseline: the least a Win32 program does to put one window on the screen. Built
// with WITH_SETUP_IMPORTS, it also loads the DLLs setup.exe loads before its dialog shows (its
// imports) without calling them, so that the difference between the two builds is the cost of
// loading those DLLs. Comctl32, shell32 and ole32 are left out: setup.exe loads them itself,
// after the dialog shows (the progress windows) or when it needs them (shortcuts, folder picker).
#include <windows.h>

namespace {

#ifdef WITH_SETUP_IMPORTS
void* volatile importedFunctions[] = {reinterpret_cast<void*>(&RegCloseKey), reinterpret_cast<void*>(&GetStockObject)};
#endif

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
#ifdef WITH_SETUP_IMPORTS
  if (importedFunctions[0] == nullptr) return 1;
#endif
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "BenchMinimalWindow";
  if (!RegisterClassA(&windowClass)) return 1;
  HWND window = CreateWindowExA(0, "BenchMinimalWindow", "Bench", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                400, 300, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
