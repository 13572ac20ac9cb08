#!/usr/bin/env bash
# Install the sample, let the "game" write its save file, then run the uninstaller as the
# uninstall entry's command line gives it: afterwards the machine is as before the
# installation except for what the uninstaller leaves by design.
source "$(dirname "$0")/lib.sh"

e2e_begin uninstall
e2e_make_cd
dest='C:\Games\Sample'
dest_dir=$(c_path "$dest")
uninstall_key="HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$SAMPLE_TITLE"

snapshot before
require_scenario install-sample.txt TITLE="$SAMPLE_TITLE" DEFAULT="$SAMPLE_DEST" DEST="$dest"
mkdir -p "$dest_dir/SAVE"
printf 'score 12345\r\n' >"$dest_dir/SAVE/SCORE.DAT"

command_line=$(uninstall_string "$SAMPLE_TITLE")
echo "uninstall entry: $command_line"
check "the uninstall entry names the installed record" \
  test "$command_line" = "C:\\windows\\unkelvo4.exe \"$dest\\$SAMPLE_RECORD\""
require_scenario uninstall-sample.txt UNINSTALL="$command_line"
snapshot after

# What stays by design: the uninstaller itself; the destination folder, which the uninstaller
# tries (and fails) to remove while it still holds its subfolders; its parent, which was
# created for it; and the parents of the recorded registry keys.
files_as_before() {
  diff "$WORK/files-before.txt" "$WORK/files-after.txt" | grep '^[<>]' >"$WORK/files-diff.txt"
  printf '%s\n' "> d ./Games" "> d ./Games/Sample" "> f ./windows/unkelvo4.exe $(stat -c %s "$E2E_BIN_DIR/setup.exe")" \
    >"$WORK/files-allowed.txt"
  diff "$WORK/files-allowed.txt" "$WORK/files-diff.txt"
}
check "files and folders are as before, apart from the uninstaller and the emptied folders" files_as_before

registry_as_before() {
  diff "$WORK/registry-before.txt" "$WORK/registry-after.txt" | grep '^[<>]' >"$WORK/registry-diff.txt"
  printf '%s\n' '> [HKEY_CURRENT_USER\Software\SampleSoft]' '> ' '> [HKEY_LOCAL_MACHINE\SOFTWARE\SampleSoft]' '> ' \
    >"$WORK/registry-allowed.txt"
  diff <(sort "$WORK/registry-allowed.txt") <(sort "$WORK/registry-diff.txt")
}
check "the registry is as before, apart from the recorded keys' parents" registry_as_before

check "the uninstall entry is gone" reg_key_missing "$uninstall_key"
check "the record is gone" missing "$dest_dir/$SAMPLE_RECORD"
check "the save file named by REMOVE is gone with its folder" missing "$dest_dir/SAVE"
check "the Start-menu group folder is gone" missing "$(prefix_programs_dir)/$SAMPLE_GROUP"

e2e_finish
