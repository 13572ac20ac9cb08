// Times each call the copy step makes on its window per file, on the real, visible progress
// window over the real background, in loops of the same length; and, beside them, what the
// system's label control and common progress bar cost for the same changes.
#include "tests/bench/wine/progress_calls_bench.h"

#include "setup/platform/win32/windows_api.h"

#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <string>

#include "setup/app/message_form.h"
#include "setup/platform/win32/system_library.h"
#include "setup/platform/win32/win_file_system.h"
#include "setup/platform/win32/win_registry.h"
#include "setup/platform/win32/win_shell.h"
#include "setup/platform/win32/win_system.h"
#include "setup/program/program_startup.h"
#include "setup/windows/label_control.h"
#include "setup/windows/progress_bar_control.h"
#include "setup/windows/win_user_interface.h"
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

// One pump right after a file copy, as the copy step makes it. Its call to the wineserver costs
// more here than in a loop of pumps alone.
double PumpAfterCopyUs(setup::win32::WinFileSystem& files, setup::UserInterface& ui, int calls) {
  const std::string folder = "C:\\bench-pump";
  const std::string source = folder + "\\source.dat";
  files.CreateDirectory(folder);
  if (files.WriteWholeFile(source, std::string(1024, 'x')) != setup::WriteResult::Ok) return -1;
  double pumpMs = 0;
  for (int i = 0; i < calls; ++i) {
    const std::string copy = folder + "\\copy" + std::to_string(i) + ".dat";
    files.CopyFile(source, copy);
    const double start = NowMs();
    ui.PumpMessages();
    pumpMs += NowMs() - start;
    files.DeleteFile(copy);
  }
  files.DeleteFile(source);
  files.RemoveDirectory(folder);
  return pumpMs * 1000.0 / calls;
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
  if (!MakeMainDialog(form, ui, shell) || !ui.CreateRemainingForms()) return false;
  ui.ShowBackground("Bench", "Bench");
  setup::ProgressWindow& progress = ui.MainProgress();
  progress.SetRange(65535);
  progress.Show();
  DrainMessages();

  // The program's own label and bar, and for comparison the system's controls of the same kind
  // in their places, each shown only while its cases run.
  HWND copyForm = OwnWindowOfClass("SetupCopyForm");
  HWND label = FindWindowExA(copyForm, nullptr, kLabelClass, nullptr);
  HWND bar = FindWindowExA(copyForm, nullptr, kProgressBarClass, nullptr);
  if (copyForm == nullptr || label == nullptr || bar == nullptr || !InitCommonControlsFromSystem()) return false;
  HWND systemLabel = CreateWindowExA(0, "Static", "", WS_CHILD | SS_LEFT | SS_NOPREFIX, 6, 102, 200, 13, copyForm,
                                     nullptr, nullptr, nullptr);
  HWND commonBar =
      CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD, 6, 77, 344, 17, copyForm, nullptr, nullptr, nullptr);
  if (systemLabel == nullptr || commonBar == nullptr) return false;
  SendMessageA(systemLabel, WM_SETFONT, SendMessageA(label, WM_GETFONT, 0, 0), FALSE);
  SendMessageA(commonBar, PBM_SETRANGE32, 0, 65535);

  struct Case {
    const char* name;
    std::function<void(int)> call;
    bool systemControls = false;
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
      // A change of the bar that adds or takes away every block.
      {"set_position_all_blocks", [&](int i) { progress.SetPosition((i % 2) ? 65535 : 0); }},
      // The system's label, which also repaints itself when its text changes, and the common
      // progress bar, which repaints itself through a WM_PAINT cycle on every change.
      {"system_label_text", [&](int i) { SetWindowTextW(systemLabel, (i % 2) ? L"F000001.DAT" : L"F000002.DAT"); },
       true},
      {"common_bar_position", [&](int i) { SendMessageA(commonBar, PBM_SETPOS, static_cast<WPARAM>(i % 65536), 0); },
       true},
  };
  for (const Case& each : cases) {
    for (HWND own : {label, bar}) ShowWindow(own, each.systemControls ? SW_HIDE : SW_SHOW);
    for (HWND stand : {systemLabel, commonBar}) ShowWindow(stand, each.systemControls ? SW_SHOW : SW_HIDE);
    progress.SetPosition(0);
    DrainMessages();
    const double start = NowMs();
    for (int i = 0; i < calls; ++i) each.call(i);
    const double perCallUs = (NowMs() - start) * 1000.0 / calls;
    PrintFigure(std::string("progress.") + each.name + "_us", perCallUs);
  }
  PrintFigure("progress.pump_after_copy_us", PumpAfterCopyUs(files, ui, calls));
  DestroyWindow(systemLabel);
  DestroyWindow(commonBar);
  progress.Hide();
  return true;
}

}  // namespace bench
