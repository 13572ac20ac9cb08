// The start-up figure. The programs take turns, in an order that rotates from run to run; each
// run is ended as soon as its window is visible. The window is looked for by class every millisecond and must belong to
// the process just started, so a window left by an earlier run is never taken for it.
#include "tests/bench/wine/startup_bench.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "tests/bench/wine/bench_clock.h"
#include "tests/bench/wine/bench_report.h"

namespace bench {
namespace {

constexpr char kMainDialogClass[] = "SetupMessageForm";
constexpr char kMinimalWindowClass[] = "BenchMinimalWindow";
constexpr double kGiveUpMs = 30000;

bool IsVisibleWindowOf(const char* className, DWORD processId) {
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, className, nullptr)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId && IsWindowVisible(window)) return true;
  }
  return false;
}

std::string FolderOf(const std::string& path) {
  const std::size_t separator = path.find_last_of('\\');
  return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

// Milliseconds from CreateProcess to the visible window; -1 when it never came.
double TimeToWindow(const std::string& program, const char* className) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::string commandLine = "\"" + program + "\"";
  const std::string folder = FolderOf(program);

  const double start = NowMs();
  if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                      &process)) {
    std::fprintf(stderr, "cannot start %s (error %lu)\n", program.c_str(), GetLastError());
    return -1;
  }
  double elapsed = -1;
  for (;;) {
    if (IsVisibleWindowOf(className, process.dwProcessId)) {
      elapsed = NowMs() - start;
      break;
    }
    if (NowMs() - start > kGiveUpMs || WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return elapsed;
}

}  // namespace

bool RunStartupBench(const StartupCase& startupCase) {
  struct Program {
    std::string figure;
    std::string path;
    const char* windowClass;
    std::vector<double> times;
  };
  std::vector<Program> programs = {
      {"startup.setup_ms", startupCase.setupProgram, kMainDialogClass, {}},
      {"startup.minimal_ms", startupCase.minimalProgram, kMinimalWindowClass, {}},
      {"startup.minimal_imports_ms", startupCase.minimalImportsProgram, kMinimalWindowClass, {}},
  };
  std::printf("== start-up: %d runs of each program\n", startupCase.runs);
  std::fflush(stdout);
  // One unmeasured start of each, so the first measured run does not pay for reading the
  // system libraries from disk.
  for (const Program& program : programs) TimeToWindow(program.path, program.windowClass);
  for (int run = 0; run < startupCase.runs; ++run) {
    for (std::size_t turn = 0; turn < programs.size(); ++turn) {
      Program& program = programs[(turn + run) % programs.size()];
      const double elapsed = TimeToWindow(program.path, program.windowClass);
      if (elapsed < 0) return false;
      program.times.push_back(elapsed);
    }
  }
  for (const Program& program : programs) {
    PrintRuns(program.figure, program.times);
    PrintFigure(program.figure, Fastest(program.times));
  }
  return true;
}

}  // namespace bench
