#!/usr/bin/env bash
# Start-up of the sample CD's installer (main dialog, background, Abort question) under code
# page 932 and 1252, and the same program renamed as the uninstaller with a missing record.
source "$(dirname "$0")/lib.sh"

e2e_begin startup
e2e_make_cd
mkdir -p "$WORK/shots"
shots=$(wine_path "$WORK/shots")

check "install mode starts, Abort answered No then Yes (code page 932)" \
  run_scenario startup-abort.txt TITLE="$SAMPLE_TITLE" DEST="$SAMPLE_DEST" CODEPAGE=932 SHOTS="$shots"

mkdir -p "$WORK/renamed"
cp "$E2E_BIN_DIR/setup.exe" "$WORK/renamed/unkelvo4.exe"
check "uninstall mode with a missing record ends with its notice" \
  run_scenario uninstall-no-record.txt PROGRAM="$(wine_path "$WORK/renamed/unkelvo4.exe")" \
  RECORD='C:\NoSuchFolder\UNINST.INI'

# Under code page 1252 the Shift-JIS title would turn into other characters, so this run uses
# a plain ASCII title: what is checked is that the program's own Japanese texts survive.
e2e_edit_cd_script 's/^TITLE=.*\r$/TITLE=Sample Game\r/'
WINE_LANG=en_US.UTF-8 check "install mode starts, Abort answered No then Yes (code page 1252)" \
  run_scenario startup-abort.txt TITLE="Sample Game" DEST="$SAMPLE_DEST" CODEPAGE=1252 SHOTS="$shots"

e2e_finish
