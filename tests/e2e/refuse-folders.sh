#!/usr/bin/env bash
# The Start button's refusals: a one-character name, a UNC name, a drive root, a CD-ROM drive,
# a network drive, and a missing folder answered No, which ends the program without a trace.
source "$(dirname "$0")/lib.sh"

e2e_begin refuse-folders
e2e_make_cd
mkdir -p "$WORK/network"
declare_drive n network "$WORK/network"

check "each refused folder gives its error box and brings back the default folder" \
  run_scenario refuse-folders.txt DEFAULT="$SAMPLE_DEST" NETWORK='N:\Games\Sample'

check "the folder answered No is not created" missing "$(c_path 'C:\NotThere')"
check "the default folder is not created" missing "$(c_path "$SAMPLE_DEST")"
check "nothing was written to the network drive" test -z "$(ls -A "$WORK/network")"
check "no uninstall entry" reg_key_missing \
  "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$SAMPLE_TITLE"

e2e_finish
