// GetProcessMemoryInfo for the running process.
#include "tests/bench/wine/process_memory.h"

#include <windows.h>

#include <psapi.h>

namespace bench {

double PeakWorkingSetMb() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
  return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

}  // namespace bench
