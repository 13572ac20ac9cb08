// The opening launcher: plays "d.avi" in a borderless white 640 x 480 window in the middle of
// the screen and, once the player reports "stopped" (at the movie's end, or at once after a
// click), starts the installer that lies beside it and ends. A movie that cannot be played at
// all does not keep the installer from starting: the start then comes at the first tick.
//
// The program is built without the C and C++ runtimes (its own entry point below), so it
// imports nothing but kernel32, user32, gdi32 and shell32 and stays a few kilobytes. The
// multimedia player DLL is not one of the DLLs the system always loads from its own folder,
// so it is loaded by its full path in the system folder: a DLL of the same name planted
// beside the launcher on the disc is never picked up.
#include <windows.h>
// After windows.h, which they build on.
#include <shellapi.h>
#include <vfw.h>

#include "launcher/launch_rules.h"

namespace {

// "ケルヴォー" in Shift-JIS: both the window class name and the window title. The text goes
// through the ANSI calls, so it is kept as code page 932 bytes whatever the compiler's charset.
const char kClassName[] = "\x83\x50\x83\x8b\x83\x94\x83\x48\x81\x5b";
// "%s の起動に失敗しました。" in Shift-JIS.
const char kStartFailedFormat[] =
    "%s \x82\xcc\x8b\x4e\x93\xae\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42";
const char kStartFailedCaption[] = "Error";
const char kMovieFile[] = "d.avi";

constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 480;
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerIntervalMs = 200;
// No play bar, no menu, and no error box of the player's own: a movie that cannot be played
// (missing, damaged, or made with a codec the system lacks, as many older movies are on 64-bit
// Windows) leads to the installer instead. The window bits are the ones Windows adds itself for a
// player with a parent; Wine adds all but WS_CHILD and would otherwise show the movie in a
// separate captioned window at the screen's corner instead of inside ours.
constexpr DWORD kPlayerStyle =
    MCIWNDF_NOPLAYBAR | MCIWNDF_NOMENU | MCIWNDF_NOERRORDLG | WS_CHILD | WS_VISIBLE | WS_BORDER;
constexpr LPARAM kZoomPercent = 100;
constexpr int kModeBufferSize = 16;
// The start-failure text is formatted into the working-folder buffer; it must also hold the
// longest path followed by the message around it.
constexpr int kStartBufferSize = launcher::kPathBufferSize + sizeof(kStartFailedFormat);

typedef HWND(__cdecl* MciWndCreateFunction)(HWND parent, HINSTANCE instance, DWORD style, LPCSTR file);
typedef BOOL(WINAPI* SetDllDirectoryFunction)(LPCSTR folder);
typedef HINSTANCE(WINAPI* ShellExecuteFunction)(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder,
                                                INT show);

char TargetPath[launcher::kPathBufferSize];
HINSTANCE Instance;
HWND MovieWindow;
// False when there is no player or it could not open the movie for playing.
bool MoviePlayable;
WNDPROC SavedPlayerProc;
int StartAttempted;

// GetProcAddress hands out a generic pointer; the detour through a no-argument function type
// tells the compiler the cast to the real signature is intended.
template <typename Function>
Function LoadFunction(HMODULE module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// Keeps the current folder (the disc) out of the DLL search for the rest of the run, where
// kernel32 knows how (Windows XP SP1 and later).
void TakeCurrentFolderOutOfDllSearch() {
  SetDllDirectoryFunction set_dll_directory =
      LoadFunction<SetDllDirectoryFunction>(GetModuleHandleA("kernel32.dll"), "SetDllDirectoryA");
  if (set_dll_directory) set_dll_directory("");
}

// Loads a DLL from the system folder by full path, with its own imports taken from there too
// rather than from the launcher's folder on the disc, where a planted copy could lie.
HMODULE LoadSystemLibrary(const char* name) {
  char path[MAX_PATH + 16];
  const UINT length = GetSystemDirectoryA(path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  lstrcatA(path, "\\");
  lstrcatA(path, name);
  return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

MciWndCreateFunction LoadPlayerCreate() {
  return LoadFunction<MciWndCreateFunction>(LoadSystemLibrary("msvfw32.dll"), "MCIWndCreateA");
}

// The player for "d.avi", zoomed to 100 % and playing; null when it cannot be made.
HWND CreatePlayer(HWND parent) {
  const MciWndCreateFunction create_player = LoadPlayerCreate();
  if (!create_player) return nullptr;
  // A name without a folder: the movie is looked for in the current folder.
  const HWND player = create_player(parent, Instance, kPlayerStyle, kMovieFile);
  if (player) {
    SendMessageA(player, MCIWNDM_SETZOOM, 0, kZoomPercent);
    SendMessageA(player, MCI_PLAY, 0, 0);
  }
  return player;
}

void SkipMovieToEnd(HWND player) { SendMessageA(player, MCI_SEEK, 0, MCIWND_END); }

LRESULT CALLBACK MovieWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN) {
    SkipMovieToEnd(window);
    return 1;  // the player itself never sees the click
  }
  return CallWindowProcA(SavedPlayerProc, window, message, wparam, lparam);
}

void StartTarget(HWND owner, const char* target) {
  char buffer[kStartBufferSize];
  lstrcpynA(buffer, target, launcher::kPathBufferSize);
  launcher::CutAtLastBackslash(buffer);
  // shell32 is loaded here rather than imported: an imported DLL's own imports are looked for
  // in the launcher's folder first, before the launcher can say otherwise.
  const ShellExecuteFunction shell_execute =
      LoadFunction<ShellExecuteFunction>(LoadSystemLibrary("shell32.dll"), "ShellExecuteA");
  const HINSTANCE result =
      shell_execute ? shell_execute(owner, nullptr, target, nullptr, buffer, SW_SHOWNORMAL) : nullptr;
  if (reinterpret_cast<INT_PTR>(result) > 32) return;
  wsprintfA(buffer, kStartFailedFormat, target);
  MessageBoxA(owner, buffer, kStartFailedCaption, MB_OK);
}

// The start always waits for a tick, so a close request that comes first starts nothing.
LRESULT OnCreate(HWND window) {
  MovieWindow = CreatePlayer(window);
  MoviePlayable = MovieWindow && SendMessageA(MovieWindow, MCIWNDM_CAN_PLAY, 0, 0);
  SetTimer(window, kTimerId, kTimerIntervalMs, nullptr);
  if (!MoviePlayable) return 0;
  SavedPlayerProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(MovieWindow, GWLP_WNDPROC));
  SetWindowLongPtrA(MovieWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MovieWindowProc));
  return 0;
}

bool MovieOver() {
  if (!MoviePlayable) return true;
  char mode[kModeBufferSize] = "";
  SendMessageA(MovieWindow, MCIWNDM_GETMODEA, kModeBufferSize, reinterpret_cast<LPARAM>(mode));
  mode[kModeBufferSize - 1] = '\0';
  return launcher::IsStoppedMode(mode);
}

// Ticks keep arriving while the failure message box is up; StartAttempted makes them idle.
LRESULT OnTimer(HWND window) {
  if (StartAttempted || !MovieOver()) return 0;
  StartAttempted = 1;
  StartTarget(window, TargetPath);
  SendMessageA(window, WM_CLOSE, 0, 0);
  return 0;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate(window);
    case WM_TIMER:
      return OnTimer(window);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      SkipMovieToEnd(MovieWindow);
      break;
    case WM_DESTROY:
      KillTimer(window, kTimerId);
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

void RegisterMainClass() {
  WNDCLASSA window_class;
  window_class.style = 0;
  window_class.lpfnWndProc = MainWindowProc;
  window_class.cbClsExtra = 0;
  window_class.cbWndExtra = 0;
  window_class.hInstance = Instance;
  window_class.hIcon = nullptr;
  window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  window_class.lpszMenuName = nullptr;
  window_class.lpszClassName = kClassName;
  RegisterClassA(&window_class);
}

int RunLauncher(HINSTANCE instance, int show_command) {
  Instance = instance;
  GetModuleFileNameA(nullptr, TargetPath, launcher::kPathBufferSize);
  launcher::DeriveTargetPath(TargetPath);
  RegisterMainClass();
  // Division truncates toward zero, so a screen smaller than the window gives a negative place.
  const int left = (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2;
  const HWND window = CreateWindowExA(0, kClassName, kClassName, WS_POPUP, left, top, kWindowWidth, kWindowHeight,
                                      nullptr, nullptr, instance, nullptr);
  ShowWindow(window, show_command);
  UpdateWindow(window);
  MSG message;
  message.wParam = 0;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

// The show state the program was started with, as the start-up code of a runtime would pass it.
int StartupShowCommand() {
  STARTUPINFOA startup;
  startup.cb = sizeof(startup);
  GetStartupInfoA(&startup);
  return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
}

}  // namespace

// The process entry point; the linker's default for a window program.
extern "C" void WinMainCRTStartup() {
  TakeCurrentFolderOutOfDllSearch();
  ExitProcess(static_cast<UINT>(RunLauncher(GetModuleHandleA(nullptr), StartupShowCommand())));
}
