// How the Wine benchmarks hand their figures to scripts/bench.sh: one "figure NAME VALUE" line
// per figure on stdout, beside free text for the reader of the log.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace bench {

inline void PrintFigure(const std::string& name, double value) {
  std::printf("figure %s %.3f\n", name.c_str(), value);
  std::fflush(stdout);
}

// Every run's time, for the log.
inline void PrintRuns(const std::string& name, const std::vector<double>& milliseconds) {
  std::printf("runs %s", name.c_str());
  for (double value : milliseconds) std::printf(" %.1f", value);
  std::printf("\n");
  std::fflush(stdout);
}

}  // namespace bench
