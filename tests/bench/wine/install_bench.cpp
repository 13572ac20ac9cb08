// The installation figures: each run copies into a fresh folder that is removed afterwards, and
// the kinds of run take turns, in an order that rotates from one repetition to the next, so the
// file cache and the machine's other load fall on every kind alike.
#include "tests/bench/wine/install_bench.h"

#include "setup/platform/win32/windows_api.h"

#include <cstdio>
#include <functional>
#include <map>
#include <vector>

#include "setup/app/message_form.h"
#include "setup/platform/win32/win_file_system.h"
#include "setup/platform/win32/win_registry.h"
#include "setup/platform/win32/win_shell.h"
#include "setup/platform/win32/win_system.h"
#include "setup/program/program_startup.h"
#include "setup/windows/win_user_interface.h"
#include "tests/bench/wine/bench_clock.h"
#include "tests/bench/wine/bench_platform.h"
#include "tests/bench/wine/bench_report.h"
#include "tests/bench/wine/file_trees.h"
#include "tests/bench/wine/process_memory.h"
#include "tests/bench/wine/timed_platform.h"

namespace bench {
namespace {

using setup::win32::WinFileSystem;
using setup::win32::WinRegistry;
using setup::win32::WinShell;
using setup::win32::WinSystem;
using setup::win32::WinUserInterface;

// A script like a game CD's: one wildcard line per data folder, a registry key, a configuration
// file, a shortcut and the record.
std::string ScriptText(const InstallCase& installCase, const FileTree& source, const std::string& sourceFolder) {
  std::string text = "[SETUP]\r\nTITLE=Bench " + installCase.name + "\r\n";
  text += "DIR=C:\\bench\\" + installCase.name + "\\default\r\n";
  text += "SRC=@" + sourceFolder.substr(1) + "\r\n";
  text += "GROUP=Bench\r\nUNINSTALL=UNINST.INI\r\nCFGNAME=$\\BENCH.CFG\r\nSHORTCUT=1\r\n";
  for (std::size_t i = 0; i < source.folders.size(); ++i) {
    const std::string& folder = source.folders[i];
    text += "COPY" + std::to_string(i + 1) + "=" + folder + "\\*.*,$\\" + folder + "\r\n";
  }
  text += "REG1=open,HKEY_LOCAL_MACHINE\\SOFTWARE\\Bench\\" + installCase.name + "\r\n";
  text += "REG2=string,InstallDir,$\r\n";
  text += "CFG1=[BENCH]\r\nCFG2=PATH=$\r\n";
  text += "START1=" + source.files.front() + ",Bench file,Bench " + installCase.name + "\r\n";
  return text;
}

class InstallBench {
 public:
  explicit InstallBench(const InstallCase& installCase)
      : case_(installCase),
        root_("C:\\bench\\" + installCase.name),
        cd_(root_ + "\\cd"),
        source_(PlanTree(cd_ + "\\DATA", installCase.files, installCase.folders)) {}

  bool Prepare() {
    RemoveTree(root_);
    if (!MakeTree(source_, case_.fileBytes)) return false;
    char ownPath[MAX_PATH];
    GetModuleFileNameA(nullptr, ownPath, MAX_PATH);
    // The step that saves the uninstaller copies the running program: this one stands in.
    if (!CopyFileA(ownPath, (cd_ + "\\setup.exe").c_str(), FALSE)) return false;
    script_ = ScriptText(case_, source_, source_.root);
    return WriteFileBytes(cd_ + "\\setup.ini", script_);
  }

  void CleanUp() { RemoveTree(root_); }

  // The main dialog's Start button pressed on a freshly started program, with the folder typed.
  // With calls, the file system, registry, shell and window calls are timed into it.
  double WholeInstall(const std::string& destination, UnattendedUi::Progress progress, CallTimes* calls = nullptr) {
    WinFileSystem files;
    WinRegistry registry;
    WinShell shell;
    PlatformCalls platformCalls(files, registry, shell, calls);
    WinSystem realSystem;
    StartedAsSystem system(realSystem, cd_ + "\\setup.exe", "\"" + cd_ + "\\setup.exe\"");
    WinUserInterface windows;
    UnattendedUi ui(windows, progress, calls);
    setup::Platform platform{platformCalls.files(), platformCalls.registry(), platformCalls.shell(), system, ui};
    setup::MessageForm form(platform);
    if (!MakeMainDialog(form, windows, shell)) return -1;
    StartMainDialog(form, windows);
    DrainMessages();
    ui.SetFolderText(destination);

    const double start = NowMs();
    form.OkButtonClick();
    const double elapsed = NowMs() - start;
    DrainMessages();
    // A run that met an error box is no installation to time: the two texts expected are the
    // question whether to create the folder and the closing notice.
    if (!ui.ended() || ui.shownTexts().size() != 2) {
      std::fprintf(stderr, "%s: the installation showed %zu texts and %s\n", case_.name.c_str(), ui.shownTexts().size(),
                   ui.ended() ? "ended" : "did not end");
      for (const std::string& text : ui.shownTexts()) std::fprintf(stderr, "  %s\n", text.c_str());
      return -1;
    }
    return elapsed;
  }

  // The same files, listed beforehand, with nothing but the folder and copy calls.
  double BareCopy(const std::string& destination) {
    std::vector<std::pair<std::string, std::string>> copies;
    for (const std::string& file : source_.files)
      copies.emplace_back(source_.root + "\\" + file, destination + "\\" + file);
    std::vector<std::string> folders;
    for (const std::string& folder : source_.folders) folders.push_back(destination + "\\" + folder);

    const double start = NowMs();
    CreateDirectoryA(destination.c_str(), nullptr);
    for (const std::string& folder : folders) CreateDirectoryA(folder.c_str(), nullptr);
    for (const auto& copy : copies) CopyFileA(copy.first.c_str(), copy.second.c_str(), FALSE);
    return NowMs() - start;
  }

  int files() const { return case_.files; }
  std::size_t scriptBytes() const { return script_.size(); }

 private:
  InstallCase case_;
  std::string root_;
  std::string cd_;
  FileTree source_;
  std::string script_;
};

struct RunKind {
  std::string name;
  std::function<double(const std::string&)> run;
  int extraFiles;  // files besides the copied ones that the run leaves in its folder
};

}  // namespace

bool RunInstallBench(const InstallCase& installCase) {
  InstallBench bench(installCase);
  std::printf("== %s: %d files of %llu bytes in %d folders, %d repetitions\n", installCase.name.c_str(),
              installCase.files, static_cast<unsigned long long>(installCase.fileBytes), installCase.folders,
              installCase.repetitions);
  std::fflush(stdout);
  if (!bench.Prepare()) return false;

  // With the window share, the runs with and without windows are also profiled by call.
  CallTimes wholeCalls;
  CallTimes quietCalls;
  CallTimes* profile = installCase.withWindowShare ? &wholeCalls : nullptr;
  std::vector<RunKind> kinds = {
      // The record and the configuration file are left beside the copies.
      {"whole", [&](const std::string& to) { return bench.WholeInstall(to, UnattendedUi::Progress::Windows, profile); },
       2},
      {"bare", [&](const std::string& to) { return bench.BareCopy(to); }, 0},
  };
  if (installCase.withWindowShare) {
    kinds.push_back(
        {"whole_quiet",
         [&](const std::string& to) { return bench.WholeInstall(to, UnattendedUi::Progress::Quiet, &quietCalls); }, 2});
  }

  const double peakBefore = PeakWorkingSetMb();
  std::map<std::string, std::vector<double>> times;
  bool complete = true;
  for (int repetition = 0; repetition < installCase.repetitions; ++repetition) {
    for (std::size_t turn = 0; turn < kinds.size(); ++turn) {
      const RunKind& kind = kinds[(turn + repetition) % kinds.size()];
      const std::string destination =
          "C:\\bench\\" + installCase.name + "\\out-" + kind.name + "-" + std::to_string(repetition);
      const double elapsed = kind.run(destination);
      const int copied = CountFiles(destination) - kind.extraFiles;
      if (elapsed < 0 || copied != bench.files()) {
        std::printf("%s %s: %d of %d files in place\n", installCase.name.c_str(), kind.name.c_str(), copied,
                    bench.files());
        complete = false;
      }
      times[kind.name].push_back(elapsed);
      if (!installCase.keepCopies) RemoveTree(destination);
    }
  }
  const double peakAfter = PeakWorkingSetMb();
  if (!installCase.keepCopies) bench.CleanUp();
  if (!complete) return false;

  for (const RunKind& kind : kinds) {
    PrintRuns(installCase.name + "." + kind.name + "_ms", times[kind.name]);
    PrintFigure(installCase.name + "." + kind.name + "_ms", Fastest(times[kind.name]));
  }
  if (installCase.withWindowShare) {
    PrintCallProfile(installCase.name + ".whole", wholeCalls, times["whole"]);
    PrintCallProfile(installCase.name + ".quiet", quietCalls, times["whole_quiet"]);
  }
  PrintFigure(installCase.name + ".script_bytes", static_cast<double>(bench.scriptBytes()));
  PrintFigure(installCase.name + ".peak_ws_before_mb", peakBefore);
  PrintFigure(installCase.name + ".peak_ws_after_mb", peakAfter);
  return true;
}

}  // namespace bench
