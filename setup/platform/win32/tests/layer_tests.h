// The groups of the layer test.
#pragma once

#include <string>

namespace setup::win32::test {

void RunTextTests();
void RunPlatformCallTests(const std::string& setupExe);
void RunWindowTests();
// The views wired to a real MessageForm over the Win32 platform, with no script loaded.
void RunRoutingTests();
// Shows a progress window in copy mode, then in delete mode, for a while each, so that the
// clips can be watched or photographed from outside.
void HoldProgressWindow(int secondsPerMode);

}  // namespace setup::win32::test
