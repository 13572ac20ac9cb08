// The groups of the layer test.
#pragma once

#include <string>

namespace setup::win32::test {

void RunTextTests();
void RunPlatformCallTests(const std::string& setupExe);
void RunWindowTests();
// The views wired to a real MessageForm over the Win32 platform, with no script loaded.
void RunRoutingTests();

}  // namespace setup::win32::test
