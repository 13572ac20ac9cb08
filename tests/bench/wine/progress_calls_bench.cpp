// Times each call the copy step makes on its window per file, on the real, visible progress
// window over the real background, in loops of the same length; and, beside them, what the
// usual repaints through WM_PAINT would cost: the label's, and the common progress bar's.
#include "tests/bench/wine/progress_calls_bench.h"

#include "setup/platform/win32/windows_api.h"

#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <string>

#include "setup/app/message_form.h"
#include "setup/platform/win32/progress_bar_control.h"
#include "setup/platform/win32/system_library.h"
#include "setup/platform/win32/win_file_system.h"
#include "setup/platform/win32/win_registry.h"
#include "setup/platform/win32/win_shell.h"
#include "setup/platform/win32/win_system.h"
#include "setup/platform/win32/win_user_interface.h"
#include "tests/bench/wine/bench_clock.h"
#include "tests/bench/wine/bench_platform.h"
#include "tests/bench/wine/bench_report.h"

namespace bench {
namespace {

// What the label shows while a file is copied, for the i-th file.
std::string CopyingLabel(int i) {
  char name[32];
  std::snprintf(name, sizeof name, "F%06d.DAT", i);
  return std::string("\xE3\x82\xB3\xE3\x83\x94\xE3\x83\xBC\xE4\xB8\xAD\xE3\x81\xA7\xE3\x81\x99 ") + name;
}

// The first top-level window of this thread with the given class.
HWND OwnWindowOfClass(const char* className) {
  struct Search {
    const char* className;
    HWND found;
  } search = {className, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM parameter) -> BOOL {
        auto* search = reinterpret_cast<Search*>(parameter);
        char name[64] = {};
        GetClassNameA(window, name, sizeof name);
        if (lstrcmpA(name, search->className) != 0) return TRUE;
        search->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

bool RunProgressCallsBench(int calls) {
  using namespace setup::win32;
  std::printf("== progress window calls: %d of each\n", calls);
  WinFileSystem files;
  WinRegistry registry;
  WinShell shell;
  WinSystem system;
  WinUserInterface ui;
  setup::Platform platform{files, registry, shell, system, ui};
  setup::MessageForm form(platform);
  ui.Attach(form);
  if (!ui.CreateMainDialog() || !ui.CreateRemainingForms()) return false;
  ui.ShowBackground("Bench", "Bench");
  setup::ProgressWindow& progress = ui.MainProgress();
  progress.SetRange(65535);
  progress.Show();
  DrainMessages();

  // The controls themselves, for the comparisons.
  HWND copyForm = OwnWindowOfClass("SetupCopyForm");
  HWND label = FindWindowExA(copyForm, nullptr, "Static", nullptr);
  HWND bar = FindWindowExA(copyForm, nullptr, kProgressBarClass, nullptr);
  if (copyForm == nullptr || label == nullptr || bar == nullptr) return false;

  struct Case {
    const char* name;
    std::function<void(int)> call;
    bool ownBar = true;
  };
  HWND commonBar = nullptr;
  const Case cases[] = {
      {"set_label", [&](int i) { progress.SetLabel(CopyingLabel(i)); }},
      {"set_position", [&](int i) { progress.SetPosition(i % 65536); }},
      {"position", [&](int) { progress.Position(); }},
      {"pump_messages", [&](int) { ui.PumpMessages(); }},
      {"per_file_sequence",
       [&](int i) {
         progress.SetLabel(CopyingLabel(i));
         ui.PumpMessages();
         progress.SetPosition(progress.Position() + 1);
         ui.PumpMessages();
       }},
      // A change of the bar that adds or takes away every block.
      {"set_position_all_blocks", [&](int i) { progress.SetPosition((i % 2) ? 65535 : 0); }},
      // For comparison, the usual ways: the label's new text repainted through a WM_PAINT
      // cycle, and the common progress bar, which repaints itself through one on every change.
      {"paint_cycle_label",
       [&](int i) {
         SetWindowTextW(label, (i % 2) ? L"F000001.DAT" : L"F000002.DAT");
         InvalidateRect(label, nullptr, TRUE);
         UpdateWindow(label);
       }},
      {"common_bar_position", [&](int i) { SendMessageA(commonBar, PBM_SETPOS, static_cast<WPARAM>(i % 65536), 0); },
       false},
  };
  // The common bar stands where the program's own is, shown only during its case.
  if (!InitCommonControlsFromSystem()) return false;
  commonBar = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD, 6, 77, 344, 17, copyForm, nullptr, nullptr, nullptr);
  if (commonBar == nullptr) return false;
  SendMessageA(commonBar, PBM_SETRANGE32, 0, 65535);
  for (const Case& each : cases) {
    ShowWindow(bar, each.ownBar ? SW_SHOW : SW_HIDE);
    ShowWindow(commonBar, each.ownBar ? SW_HIDE : SW_SHOW);
    progress.SetPosition(0);
    DrainMessages();
    const double start = NowMs();
    for (int i = 0; i < calls; ++i) each.call(i);
    const double perCallUs = (NowMs() - start) * 1000.0 / calls;
    PrintFigure(std::string("progress.") + each.name + "_us", perCallUs);
  }
  DestroyWindow(commonBar);
  progress.Hide();
  return true;
}

}  // namespace bench
