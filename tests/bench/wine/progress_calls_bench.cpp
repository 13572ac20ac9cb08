// Times each call the copy step makes on its window per file, on the real, visible progress
// window over the real background, in loops of the same length; and, beside them, the least a
// synchronous repaint of the label or the bar costs when done directly on the control.
#include "tests/bench/wine/progress_calls_bench.h"

#include "setup/platform/win32/windows_api.h"

#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <string>

#include "setup/app/message_form.h"
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

  // The controls themselves, for the least that a synchronous repaint of each costs.
  HWND copyForm = OwnWindowOfClass("SetupCopyForm");
  HWND label = FindWindowExA(copyForm, nullptr, "Static", nullptr);
  HWND bar = FindWindowExA(copyForm, nullptr, PROGRESS_CLASSA, nullptr);
  if (copyForm == nullptr || label == nullptr || bar == nullptr) return false;

  struct Case {
    const char* name;
    std::function<void(int)> call;
  };
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
      // The label's new text and a repaint of the label alone, without a change of size.
      {"floor_label_repaint",
       [&](int i) {
         SetWindowTextW(label, (i % 2) ? L"F000001.DAT" : L"F000002.DAT");
         InvalidateRect(label, nullptr, TRUE);
         UpdateWindow(label);
       }},
      // The bar's new position: the control repaints itself before the message returns.
      {"floor_bar_position", [&](int i) { SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(i % 65536), 0); }},
  };
  for (const Case& each : cases) {
    progress.SetPosition(0);
    DrainMessages();
    const double start = NowMs();
    for (int i = 0; i < calls; ++i) each.call(i);
    const double perCallUs = (NowMs() - start) * 1000.0 / calls;
    PrintFigure(std::string("progress.") + each.name + "_us", perCallUs);
  }
  progress.Hide();
  return true;
}

}  // namespace bench
