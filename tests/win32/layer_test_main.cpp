// The layer test's entry: win32_layer_test SETUP.EXE [--ansi-windows] runs every group and
// exits with 0 when every check passed; --ansi-windows runs the windows through the ANSI calls
// that Windows 9x uses.
#include <cstdio>
#include <cstring>

#include "setup/platform/win32/system_library.h"
#include "setup/platform/win32/window_calls.h"
#include "tests/win32/check.h"
#include "tests/win32/layer_tests.h"

int main(int argc, char** argv) {
  using namespace setup::win32;
  InitCommonControlsFromSystem();
  const bool ansiWindows = argc == 3 && std::strcmp(argv[2], "--ansi-windows") == 0;
  if (argc != 2 && !ansiWindows) {
    std::fprintf(stderr, "usage: win32_layer_test SETUP.EXE [--ansi-windows]\n");
    return 2;
  }
  if (ansiWindows) ForceAnsiWindowCalls();
  test::RunTextTests();
  test::RunPlatformCallTests(argv[1]);
  test::RunWindowTests();
  test::RunRoutingTests();
  const int failures = test::FailureCount();
  std::printf("%s: %d failed check(s)\n", failures == 0 ? "PASSED" : "FAILED", failures);
  return failures == 0 ? 0 : 1;
}
