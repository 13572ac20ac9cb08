// Wall-clock timing and the summary statistics the Wine figures are built from.
#pragma once

#include "setup/platform/win32/windows_api.h"

#include <algorithm>
#include <vector>

namespace bench {

// Milliseconds since an arbitrary start, from the performance counter.
inline double NowMs() {
  static const double ticksPerMs = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / ticksPerMs;
}

// The fastest run; 0 for no runs. The virtual machines these figures come from have slow
// minutes, which only ever add time, so the fastest run is the one closest to the work itself,
// and a program and its baseline are compared at their best.
inline double Fastest(const std::vector<double>& values) {
  return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

}  // namespace bench
