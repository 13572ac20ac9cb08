// wine_bench.exe: the benchmarks that need the real Win32 layer, run under Wine by
// scripts/bench.sh. Each command prints "figure NAME VALUE" lines and exits with 0, or with 1
// when a run did not do its work (a figure is never judged here: the script compares).
//
//   wine_bench install NAME FILES BYTES FOLDERS REPETITIONS [--window-share] [--keep-copies]
//   wine_bench uninstall FILES FOLDERS REPETITIONS [--window-share]
//   wine_bench startup SETUP_EXE MINIMAL_EXE MINIMAL_IMPORTS_EXE RUNS
//   wine_bench progress-calls CALLS
#include "setup/platform/win32/windows_api.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "setup/platform/win32/system_library.h"
#include "tests/bench/wine/install_bench.h"
#include "tests/bench/wine/progress_calls_bench.h"
#include "tests/bench/wine/startup_bench.h"
#include "tests/bench/wine/uninstall_bench.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: wine_bench install NAME FILES BYTES FOLDERS REPETITIONS [--window-share] [--keep-copies]\n"
               "       wine_bench uninstall FILES FOLDERS REPETITIONS [--window-share]\n"
               "       wine_bench startup SETUP_EXE MINIMAL_EXE MINIMAL_IMPORTS_EXE RUNS\n"
               "       wine_bench progress-calls CALLS\n");
  return 2;
}

int Number(const char* text) { return std::atoi(text); }

// A crash ends the run at once with its code and address on stderr, instead of starting the
// system's debugger, which would wait for someone to answer it.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* exception) {
  const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
  std::fprintf(stderr, "wine_bench: exception %08lx at %p (module base %p)\n", record.ExceptionCode,
               record.ExceptionAddress, static_cast<void*>(GetModuleHandleA(nullptr)));
  std::fflush(stderr);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  SetUnhandledExceptionFilter(ReportCrash);
  setup::win32::RestrictDllSearchPath();
  setup::win32::InitCommonControlsFromSystem();
  const std::string command = argv[1];
  bool done = false;
  if (command == "install" && argc >= 7) {
    bench::InstallCase installCase;
    installCase.name = argv[2];
    installCase.files = Number(argv[3]);
    installCase.fileBytes = std::strtoull(argv[4], nullptr, 10);
    installCase.folders = Number(argv[5]);
    installCase.repetitions = Number(argv[6]);
    for (int option = 7; option < argc; ++option) {
      const std::string name = argv[option];
      if (name == "--window-share") {
        installCase.withWindowShare = true;
      } else if (name == "--keep-copies") {
        installCase.keepCopies = true;
      } else {
        return Usage();
      }
    }
    if (installCase.files < 1 || installCase.folders < 1 || installCase.repetitions < 1) return Usage();
    done = bench::RunInstallBench(installCase);
  } else if (command == "uninstall" && (argc == 5 || argc == 6)) {
    if (Number(argv[2]) < 1 || Number(argv[3]) < 1 || Number(argv[4]) < 1) return Usage();
    const bool windowShare = argc == 6 && std::string(argv[5]) == "--window-share";
    done = bench::RunUninstallBench(Number(argv[2]), Number(argv[3]), Number(argv[4]), windowShare);
  } else if (command == "startup" && argc == 6) {
    if (Number(argv[5]) < 1) return Usage();
    done = bench::RunStartupBench({argv[2], argv[3], argv[4], Number(argv[5])});
  } else if (command == "progress-calls" && argc == 3) {
    if (Number(argv[2]) < 1) return Usage();
    done = bench::RunProgressCallsBench(Number(argv[2]));
  } else {
    return Usage();
  }
  return done ? 0 : 1;
}
