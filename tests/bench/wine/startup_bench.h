// The start-up figure under Wine: from CreateProcess until a program's first window is on the
// screen, for the installer's main dialog and for a minimal program that shows one window,
// built once as it is and once importing the DLLs the installer imports.
#pragma once

#include <string>

namespace bench {

struct StartupCase {
  std::string setupProgram;           // setup.exe, with setup.ini beside it
  std::string minimalProgram;         // the one-window program
  std::string minimalImportsProgram;  // the same, importing what setup.exe imports
  int runs = 7;
};

// Prints the figures; false when a program's window did not appear within its time.
bool RunStartupBench(const StartupCase& startupCase);

}  // namespace bench
