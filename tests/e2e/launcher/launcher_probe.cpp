// Watches the opening launcher from outside under Wine: starts it, checks its window and
// what appears on the screen, clicks it, answers its boxes and times when the program it
// starts has written its marker (see stand_in_setup.cpp).
//
// Usage (all paths are Windows paths; texts are UTF-8 on the command line):
//   launcher_probe play    LAUNCHER FOLDER MARKER         the movie plays to its end, then one start
//   launcher_probe click   LAUNCHER FOLDER MARKER main|player left|right
//                                                          a click skips a long movie
//   launcher_probe unplayable LAUNCHER FOLDER MARKER      no movie or a damaged one: no box, one start
//   launcher_probe missing LAUNCHER FOLDER MESSAGE        no target: one failure box, end after OK
//   launcher_probe setup   LAUNCHER FOLDER CLASS          the real installer's window of CLASS appears
// FOLDER is the launcher's working folder, where it looks for d.avi. The transcript goes to
// standard output; the exit code is 0 when every check held, 1 otherwise, 2 for bad usage.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr DWORD kPollMs = 20;
// "ケルヴォー": the launcher's window class and title.
const wchar_t kLauncherClass[] = L"\u30b1\u30eb\u30f4\u30a9\u30fc";
const wchar_t kDialogClass[] = L"#32770";
constexpr int kWindowWidth = 640, kWindowHeight = 480;

int failures = 0;
DWORD start_tick = 0;

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size, nullptr, nullptr);
  return out;
}

void Say(const std::wstring& text) {
  const DWORD elapsed = GetTickCount() - start_tick;
  std::printf("[%5lu ms] %s\n", static_cast<unsigned long>(elapsed), Utf8(text).c_str());
  std::fflush(stdout);
}

void Check(bool holds, const std::wstring& what) {
  Say((holds ? L"ok: " : L"FAILED: ") + what);
  if (!holds) ++failures;
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeout_ms) {
  const DWORD begin = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - begin >= timeout_ms) return false;
    Sleep(kPollMs);
  }
}

std::wstring TextOf(HWND window) {
  wchar_t text[1024] = {};
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &ignored);
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

struct WindowQuery {
  DWORD process;  // 0: any process
  std::wstring class_name;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lparam) {
  WindowQuery* query = reinterpret_cast<WindowQuery*>(lparam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if ((query->process == 0 || owner == query->process) && IsWindowVisible(window) &&
      ClassOf(window) == query->class_name) {
    query->found.push_back(window);
  }
  return TRUE;
}

std::vector<HWND> VisibleWindows(DWORD process, const std::wstring& class_name) {
  WindowQuery query{process, class_name, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

HWND FirstVisibleWindow(DWORD process, const std::wstring& class_name) {
  const std::vector<HWND> found = VisibleWindows(process, class_name);
  return found.empty() ? nullptr : found.front();
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

class Launcher {
 public:
  Launcher(const std::wstring& program, const std::wstring& folder) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    std::wstring command = L"\"" + program + L"\"";
    started_ = CreateProcessW(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                              &startup, &info_) != 0;
    Check(started_, L"started " + program + L" in " + folder);
  }
  ~Launcher() {
    if (!started_) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 99);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  bool started() const { return started_; }
  DWORD id() const { return info_.dwProcessId; }
  bool Running() const { return started_ && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
  HWND WaitMainWindow(DWORD timeout_ms) const {
    HWND window = nullptr;
    WaitFor([&] { return (window = FirstVisibleWindow(id(), kLauncherClass)) != nullptr || !Running(); }, timeout_ms);
    return window;
  }
  // Checks that the launcher ends with exit code 0 within the time given.
  void CheckEnds(DWORD timeout_ms) const {
    if (!started_) return;
    const bool ended = WaitForSingleObject(info_.hProcess, timeout_ms) == WAIT_OBJECT_0;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    Check(ended && code == 0,
          ended ? L"launcher ended with exit code " + std::to_wstring(code) : L"launcher still runs");
  }

 private:
  PROCESS_INFORMATION info_ = {};
  bool started_ = false;
};

// The window as the launcher must make it: popup, centred, 640 x 480, a class without icon.
// (The class's cursor and brush handles belong to the launcher's process, so the brush is
// checked on the screen instead.)
void CheckMainWindow(HWND window) {
  Check(TextOf(window) == kLauncherClass, L"title is " + TextOf(window));
  // The system adds WS_CLIPSIBLINGS to every top-level window.
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_VISIBLE | WS_CLIPSIBLINGS);
  Check(style == static_cast<LONG_PTR>(WS_POPUP), L"style " + std::to_wstring(style) + L" is WS_POPUP alone");
  const LONG_PTR ex_style = GetWindowLongPtrW(window, GWL_EXSTYLE);
  Check(ex_style == 0, L"extended style " + std::to_wstring(ex_style) + L" is 0");
  RECT rect = {};
  GetWindowRect(window, &rect);
  const int left = (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2;
  Check(rect.left == left && rect.top == top && rect.right - rect.left == kWindowWidth &&
            rect.bottom - rect.top == kWindowHeight,
        L"window at " + std::to_wstring(rect.left) + L"," + std::to_wstring(rect.top) + L" size " +
            std::to_wstring(rect.right - rect.left) + L"x" + std::to_wstring(rect.bottom - rect.top));
  Check(GetClassLongPtrW(window, GCLP_HICON) == 0 && GetClassLongPtrW(window, GCLP_HICONSM) == 0, L"class has no icon");
  Check(GetClassLongPtrW(window, GCL_STYLE) == 0, L"class style is 0");
  Check(GetParent(window) == nullptr && GetMenu(window) == nullptr, L"no parent, no menu");
}

struct OwnedQuery {
  HWND owner;
  HWND found;
};

BOOL CALLBACK FindOwned(HWND window, LPARAM lparam) {
  OwnedQuery* query = reinterpret_cast<OwnedQuery*>(lparam);
  if (GetWindow(window, GW_OWNER) != query->owner || !IsWindowVisible(window)) return TRUE;
  query->found = window;
  return FALSE;
}

// The player: a child of the launcher's window on Windows; Wine's player window given a
// parent is an owned top-level window instead.
HWND PlayerOf(HWND window) {
  HWND player = GetWindow(window, GW_CHILD);
  if (!player) {
    OwnedQuery query{window, nullptr};
    EnumWindows(FindOwned, reinterpret_cast<LPARAM>(&query));
    player = query.found;
  }
  if (player) {
    RECT rect = {};
    GetWindowRect(player, &rect);
    Say(L"player window: class " + ClassOf(player) + (GetParent(player) == window ? L", child" : L", owned") +
        L", at " + std::to_wstring(rect.left) + L"," + std::to_wstring(rect.top) + L" size " +
        std::to_wstring(rect.right - rect.left) + L"x" + std::to_wstring(rect.bottom - rect.top));
  }
  return player;
}

// The whole screen, one value per pixel (0x00RRGGBB), rows top-down.
struct Screen {
  int width = 0, height = 0;
  std::vector<DWORD> pixels;
  DWORD At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x] & 0xFFFFFF; }
};

Screen CaptureScreen() {
  Screen shot;
  shot.width = GetSystemMetrics(SM_CXSCREEN);
  shot.height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = shot.width;
  info.bmiHeader.biHeight = -shot.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD* p = static_cast<const DWORD*>(bits);
    shot.pixels.assign(p, p + static_cast<std::size_t>(shot.width) * shot.height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return shot;
}

bool Inside(const RECT& rect, int x, int y) {
  return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

// Pixels of area that lie outside other: how many, how many are white, how many differ
// between two screens.
struct AreaCount {
  std::size_t pixels = 0, white = 0, changed = 0;
};

AreaCount CountArea(const Screen& first, const Screen& second, const RECT& area, const RECT& other) {
  AreaCount count;
  for (int y = std::max(0L, area.top); y < std::min<LONG>(first.height, area.bottom); ++y) {
    for (int x = std::max(0L, area.left); x < std::min<LONG>(first.width, area.right); ++x) {
      if (Inside(other, x, y)) continue;
      ++count.pixels;
      count.white += first.At(x, y) == 0xFFFFFF;
      count.changed += first.At(x, y) != second.At(x, y);
    }
  }
  return count;
}

// Lines the stand-in has written so far.
int MarkerStarts(const std::wstring& marker) {
  HANDLE file =
      CreateFileW(marker.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  char buffer[4096];
  DWORD read = 0;
  int lines = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
    for (DWORD i = 0; i < read; ++i) lines += buffer[i] == '\n';
  }
  CloseHandle(file);
  return lines;
}

// Movie of 2.5 s: it must be seen moving, and the start must wait for its end.
void Play(const std::wstring& program, const std::wstring& folder, const std::wstring& marker) {
  Launcher launcher(program, folder);
  HWND window = launcher.WaitMainWindow(30000);
  if (!window) return Check(false, L"launcher window appeared");
  const DWORD shown = GetTickCount();
  Say(L"launcher window appeared");
  CheckMainWindow(window);
  HWND player = PlayerOf(window);
  Check(player != nullptr, L"the player window exists");
  Sleep(600);
  const Screen early = CaptureScreen();
  Sleep(800);
  const Screen later = CaptureScreen();
  Check(MarkerStarts(marker) == 0 && IsWindow(window), L"nothing started while the movie plays");
  RECT main_rect = {}, player_rect = {};
  GetWindowRect(window, &main_rect);
  if (player) GetWindowRect(player, &player_rect);
  // Where the launcher's window shows and the player does not, its white class brush shows.
  const AreaCount background = CountArea(early, later, main_rect, player_rect);
  Check(background.white == background.pixels, std::to_wstring(background.white) + L" of " +
                                                   std::to_wstring(background.pixels) +
                                                   L" launcher pixels outside the player are white");
  // Where the player shows (and, for a player outside the launcher's window, where that
  // window does not cover it), the movie runs.
  const RECT no_area = {0, 0, 0, 0};
  const bool child = player && GetParent(player) == window;
  const AreaCount movie = CountArea(early, later, player_rect, child ? no_area : main_rect);
  Check(movie.pixels > 0 && movie.white < movie.pixels / 2,
        std::to_wstring(movie.pixels - movie.white) + L" of " + std::to_wstring(movie.pixels) +
            L" player pixels outside the launcher window are not white");
  Check(movie.changed > 1000, std::to_wstring(movie.changed) + L" player pixels changed in 0.8 s");
  const bool started = WaitFor([&] { return MarkerStarts(marker) > 0; }, 30000);
  const DWORD elapsed = GetTickCount() - shown;
  Check(started, L"the target started " + std::to_wstring(elapsed) + L" ms after the window appeared");
  Check(elapsed >= 2000, L"the start waited for the end of the 2.5 s movie");
  launcher.CheckEnds(10000);
  Sleep(500);
  Check(MarkerStarts(marker) == 1, L"started exactly once (" + std::to_wstring(MarkerStarts(marker)) + L")");
}

// Long movie: a click must end it at once; the start follows at the next tick.
void Click(const std::wstring& program, const std::wstring& folder, const std::wstring& marker,
           const std::wstring& where, const std::wstring& button) {
  Launcher launcher(program, folder);
  HWND window = launcher.WaitMainWindow(30000);
  if (!window) return Check(false, L"launcher window appeared");
  HWND player = PlayerOf(window);
  Sleep(500);
  Check(MarkerStarts(marker) == 0, L"nothing started before the click");
  HWND target = where == L"player" ? player : window;
  const bool left = button == L"left";
  const UINT down = left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, up = left ? WM_LBUTTONUP : WM_RBUTTONUP;
  const WPARAM keys = left ? MK_LBUTTON : MK_RBUTTON;
  const DWORD clicked = GetTickCount();
  PostMessageW(target, down, keys, MAKELPARAM(100, 100));
  PostMessageW(target, up, 0, MAKELPARAM(100, 100));
  Say(L"posted a " + button + L" click to the " + where + L" window (" + ClassOf(target) + L")");
  const bool started = WaitFor([&] { return MarkerStarts(marker) > 0; }, 15000);
  const DWORD elapsed = GetTickCount() - clicked;
  // The movie lasts 20 s: a start within 10 s can only come from the click.
  Check(started && elapsed < 10000, L"the target started " + std::to_wstring(elapsed) + L" ms after the click");
  launcher.CheckEnds(10000);
  Sleep(500);
  Check(MarkerStarts(marker) == 1, L"started exactly once (" + std::to_wstring(MarkerStarts(marker)) + L")");
}

// A movie the player cannot play (missing or damaged): no error box, from the player or any
// other, and the target starts once all the same. A box that does come up is answered, so
// that the launcher can go on to its end.
void Unplayable(const std::wstring& program, const std::wstring& folder, const std::wstring& marker) {
  Launcher launcher(program, folder);
  int boxes = 0;
  WaitFor(
      [&] {
        if (HWND box = FirstVisibleWindow(launcher.id(), kDialogClass)) {
          ++boxes;
          std::wstring texts;
          for (HWND child : Children(box)) texts += L" [" + TextOf(child) + L"]";
          Say(L"box \"" + TextOf(box) + L"\":" + texts);
          PostMessageW(box, WM_COMMAND, IDOK, 0);
          WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000);
        }
        return !launcher.Running();
      },
      30000);
  Check(boxes == 0, L"boxes shown: " + std::to_wstring(boxes));
  launcher.CheckEnds(5000);
  Sleep(500);
  Check(MarkerStarts(marker) == 1, L"started exactly once (" + std::to_wstring(MarkerStarts(marker)) + L")");
}

void Missing(const std::wstring& program, const std::wstring& folder, const std::wstring& message) {
  Launcher launcher(program, folder);
  HWND box = nullptr;
  WaitFor([&] { return (box = FirstVisibleWindow(launcher.id(), kDialogClass)) != nullptr || !launcher.Running(); },
          30000);
  if (!box) return Check(false, L"a failure box appeared");
  Check(TextOf(box) == L"Error", L"box caption is \"" + TextOf(box) + L"\"");
  std::wstring shown_message;
  int buttons = 0;
  std::wstring button_text;
  for (HWND child : Children(box)) {
    if (ClassOf(child) == L"Button") ++buttons, button_text = TextOf(child);
    if (ClassOf(child) == L"Static" && !TextOf(child).empty()) shown_message = TextOf(child);
  }
  Check(shown_message == message, L"box says \"" + shown_message + L"\"");
  Check(buttons == 1 && button_text == L"OK", L"one button, \"" + button_text + L"\"");
  // Several timer ticks pass while the box is up: none may start again or open a second box.
  Sleep(1500);
  Check(VisibleWindows(launcher.id(), kDialogClass).size() == 1 && launcher.Running(),
        L"still one box after 1.5 s, launcher waiting");
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  bool second_box = false;
  WaitFor(
      [&] {
        HWND now = FirstVisibleWindow(launcher.id(), kDialogClass);
        if (now && now != box) second_box = true;
        return !launcher.Running();
      },
      10000);
  Check(!second_box, L"no second box after OK");
  launcher.CheckEnds(1000);
}

void Setup(const std::wstring& program, const std::wstring& folder, const std::wstring& setup_class) {
  Launcher launcher(program, folder);
  HWND window = launcher.WaitMainWindow(30000);
  Check(window != nullptr, L"launcher window appeared");
  HWND setup = nullptr;
  WaitFor([&] { return (setup = FirstVisibleWindow(0, setup_class)) != nullptr; }, 60000);
  Check(setup != nullptr, L"installer window " + setup_class + (setup ? L" \"" + TextOf(setup) + L"\"" : L""));
  launcher.CheckEnds(10000);
}

std::vector<std::wstring> Arguments() {
  int count = 0;
  wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> arguments(words + 1, words + count);
  LocalFree(words);
  return arguments;
}

}  // namespace

int main() {
  start_tick = GetTickCount();
  const std::vector<std::wstring> a = Arguments();
  const std::size_t n = a.size();
  if (n == 4 && a[0] == L"play") {
    Play(a[1], a[2], a[3]);
  } else if (n == 6 && a[0] == L"click") {
    Click(a[1], a[2], a[3], a[4], a[5]);
  } else if (n == 4 && a[0] == L"unplayable") {
    Unplayable(a[1], a[2], a[3]);
  } else if (n == 4 && a[0] == L"missing") {
    Missing(a[1], a[2], a[3]);
  } else if (n == 4 && a[0] == L"setup") {
    Setup(a[1], a[2], a[3]);
  } else {
    std::fprintf(stderr, "usage: see the first lines of launcher_probe.cpp\n");
    return 2;
  }
  Say(failures == 0 ? L"all probe checks held" : std::to_wstring(failures) + L" probe check(s) failed");
  return failures == 0 ? 0 : 1;
}
