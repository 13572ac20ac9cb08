// The uninstall figure. Every repetition makes identical trees (untimed), then removes one with
// the uninstaller's start-up, which runs the whole uninstallation with its progress window, and
// another with a bare loop (and a third with the uninstaller without windows); the order
// rotates from one repetition to the next.
#include "tests/bench/wine/uninstall_bench.h"

#include "setup/platform/win32/windows_api.h"

#include <cstdio>
#include <string>
#include <vector>

#include "setup/app/message_form.h"
#include "setup/platform/win32/win_file_system.h"
#include "setup/platform/win32/win_registry.h"
#include "setup/platform/win32/win_shell.h"
#include "setup/platform/win32/win_system.h"
#include "setup/program/program_startup.h"
#include "setup/script/ini_document.h"
#include "setup/windows/win_user_interface.h"
#include "tests/bench/wine/bench_clock.h"
#include "tests/bench/wine/bench_platform.h"
#include "tests/bench/wine/bench_report.h"
#include "tests/bench/wine/file_trees.h"
#include "tests/bench/wine/timed_platform.h"

namespace bench {
namespace {

constexpr char kRoot[] = "C:\\bench\\uninstall";
constexpr char kTitle[] = "Bench uninstall";

// The record an installation of the tree would have left in the tree's root.
bool WriteRecord(const FileTree& tree, const std::string& recordPath) {
  std::vector<std::string> paths;
  paths.reserve(tree.files.size());
  for (const std::string& file : tree.files) paths.push_back(tree.root + "\\" + file);
  setup::IniDocument record;
  record.Set("SETUP", "TITLE", kTitle);
  record.Set("SETUP", "GROUP", "Bench");
  record.SetList("SETUP", "COPY", paths);
  record.Set("SETUP", "SHORTCUT", "1");
  return WriteFileBytes(recordPath, record.Serialize());
}

// The program as the uninstall entry starts it: the uninstaller's name, the record's path. With
// calls, the file system, registry, shell and window calls are timed into it.
double Uninstall(const std::string& recordPath, UnattendedUi::Progress progress, CallTimes* calls) {
  using namespace setup::win32;
  WinFileSystem files;
  WinRegistry registry;
  WinShell shell;
  PlatformCalls platformCalls(files, registry, shell, calls);
  WinSystem realSystem;
  const std::string program = realSystem.WindowsDirectory() + "\\unkelvo4.exe";
  StartedAsSystem system(realSystem, program, "\"" + program + "\" \"" + recordPath + "\"");
  WinUserInterface windows;
  UnattendedUi ui(windows, progress, calls);
  setup::Platform platform{platformCalls.files(), platformCalls.registry(), platformCalls.shell(), system, ui};
  setup::MessageForm form(platform);
  if (!MakeMainDialog(form, windows, shell)) return -1;

  const double start = NowMs();
  form.FormCreate();
  const double elapsed = NowMs() - start;
  DrainMessages();
  // The uninstallation asks nothing and reports nothing before its closing notice.
  if (!form.flags().UninstallMode || !ui.shownTexts().empty()) return -1;
  return elapsed;
}

double BareDelete(const FileTree& tree) {
  std::vector<std::string> paths;
  paths.reserve(tree.files.size());
  for (const std::string& file : tree.files) paths.push_back(tree.root + "\\" + file);
  const double start = NowMs();
  for (const std::string& path : paths) DeleteFileA(path.c_str());
  return NowMs() - start;
}

// One tree and how it is removed.
struct RemovalKind {
  std::string name;
  FileTree tree;
  bool byUninstaller;
  UnattendedUi::Progress progress;
  std::vector<double> times;
};

// Every file and the record are gone; the uninstaller also removed the emptied folders.
bool RemovedEverything(const RemovalKind& kind) {
  const int left = CountFiles(kind.tree.root);
  const bool foldersGone =
      GetFileAttributesA((kind.tree.root + "\\" + kind.tree.folders.front()).c_str()) == INVALID_FILE_ATTRIBUTES;
  if (left == 0 && (foldersGone || !kind.byUninstaller) && kind.times.back() >= 0) return true;
  std::printf("uninstall %s: %d files left, folders %s\n", kind.name.c_str(), left, foldersGone ? "removed" : "left");
  return false;
}

}  // namespace

bool RunUninstallBench(int files, int folders, int repetitions, bool windowShare) {
  std::printf("== uninstall: %d files in %d folders, %d repetitions\n", files, folders, repetitions);
  std::fflush(stdout);
  const std::string root = kRoot;
  std::vector<RemovalKind> kinds = {
      {"whole", PlanTree(root + "\\whole", files, folders), true, UnattendedUi::Progress::Windows, {}},
      {"bare", PlanTree(root + "\\bare", files, folders), false, UnattendedUi::Progress::Windows, {}},
  };
  if (windowShare) {
    kinds.push_back(
        {"whole_quiet", PlanTree(root + "\\quiet", files, folders), true, UnattendedUi::Progress::Quiet, {}});
  }

  // With the window share, the runs with and without windows are also profiled by call.
  CallTimes wholeCalls;
  CallTimes quietCalls;
  bool complete = true;
  for (int repetition = 0; repetition < repetitions; ++repetition) {
    RemoveTree(root);
    for (const RemovalKind& kind : kinds) {
      if (!MakeTree(kind.tree, 1024)) return false;
      if (kind.byUninstaller && !WriteRecord(kind.tree, kind.tree.root + "\\UNINST.INI")) return false;
    }
    for (std::size_t turn = 0; turn < kinds.size(); ++turn) {
      RemovalKind& kind = kinds[(turn + repetition) % kinds.size()];
      CallTimes* calls = !windowShare || !kind.byUninstaller              ? nullptr
                         : kind.progress == UnattendedUi::Progress::Quiet ? &quietCalls
                                                                          : &wholeCalls;
      kind.times.push_back(kind.byUninstaller ? Uninstall(kind.tree.root + "\\UNINST.INI", kind.progress, calls)
                                              : BareDelete(kind.tree));
      complete = RemovedEverything(kind) && complete;
    }
  }
  RemoveTree(root);
  if (!complete) return false;
  for (const RemovalKind& kind : kinds) {
    PrintRuns("uninstall." + kind.name + "_ms", kind.times);
    PrintFigure("uninstall." + kind.name + "_ms", Fastest(kind.times));
    if (windowShare && kind.byUninstaller) {
      const bool quiet = kind.progress == UnattendedUi::Progress::Quiet;
      PrintCallProfile(quiet ? "uninstall.quiet" : "uninstall.whole", quiet ? quietCalls : wholeCalls, kind.times);
    }
  }
  return true;
}

}  // namespace bench
