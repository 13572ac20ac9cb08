// The uninstall figure under Wine: the uninstaller started on a record of many files in many
// folders, against a bare DeleteFileA loop over an identical tree.
#pragma once

namespace bench {

// Prints the figures; false when a run left files behind (its times are then not printed).
// With windowShare, the uninstaller also runs with a progress window that draws nothing and
// no message pumps, on a third identical tree.
bool RunUninstallBench(int files, int folders, int repetitions, bool windowShare);

}  // namespace bench
