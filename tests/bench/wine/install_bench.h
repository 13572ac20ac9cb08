// The installation figures under Wine: the whole installation behind the Start button, with its
// windows and with progress windows that draw nothing, against a bare CopyFileA loop over the
// same files.
#pragma once

#include <cstdint>
#include <string>

namespace bench {

struct InstallCase {
  std::string name;  // also the folder below C:\bench and the prefix of every figure
  int files = 0;
  std::uint64_t fileBytes = 0;
  int folders = 1;
  int repetitions = 3;
  // Also time the installation with a progress window that draws nothing and no message pumps,
  // to give the window work's share.
  bool withWindowShare = false;
  // Leave the source and each run's copies in place instead of removing them between runs
  // (the caller removes the folder): removing ten thousand files under Wine takes longer than
  // copying them.
  bool keepCopies = false;
};

// Prints the figures; false when a run did not copy every file (its times are then not printed).
bool RunInstallBench(const InstallCase& installCase);

}  // namespace bench
