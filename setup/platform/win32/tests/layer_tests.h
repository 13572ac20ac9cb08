// The groups of the layer test.
#pragma once

#include <string>

namespace setup::win32::test {

void RunPlatformCallTests(const std::string& setupExe);
void RunWindowTests();
// Shows a progress window in copy mode, then in delete mode, for a while each, so that the
// clips can be watched or photographed from outside.
void HoldProgressWindow(int secondsPerMode);

}  // namespace setup::win32::test
