#!/usr/bin/env bash
# The sample CD with the launcher as setupx.exe beside the real setup.exe: the movie plays,
# the launcher ends, and the installer's main dialog appears.
source "$E2E_SOURCE_DIR/tests/e2e/lib.sh"

e2e_begin launcher-cd
e2e_make_cd
if [ ! -f "$WORK/cd/setupx.exe" ] || [ ! -f "$WORK/cd/d.avi" ]; then
  echo "FAILED: the CD image has no setupx.exe and d.avi"
  exit 1
fi
check "setupx.exe plays the movie and starts setup.exe, whose main dialog appears" \
  run_wine "$E2E_BIN_DIR/launcher_probe.exe" setup 'D:\setupx.exe' 'D:\' SetupMessageForm
mkdir -p "$WORK/shots"
screenshot "$WORK/shots/setup-after-launcher.png"
e2e_finish
