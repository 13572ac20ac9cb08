#!/usr/bin/env bash
# A copy that fails for want of space, on a small drive E: (a tmpfs, so the test needs root): the
# abort-retry-ignore box, answered three ways. Abort takes the run back and ends with the abort
# notice; Ignore finishes with the file recorded although it is not there whole; Retry, after a
# file on E: was deleted to make room, copies it and finishes.
source "$(dirname "$0")/lib.sh"

e2e_begin copy-failure
mkdir -p "$WORK/cd" "$WORK/small"
head -c 786432 /dev/urandom >"$WORK/cd/BIG.DAT"
printf '[SETUP]\r\nTITLE=FullDrive\r\nDIR=E:\\Game\r\nSRC=@:\r\nUNINSTALL=UNINST.INI\r\nCOPY1=BIG.DAT,$\r\n' \
  >"$WORK/cd/setup.ini"
cp "$E2E_BIN_DIR/setup.exe" "$WORK/cd/"
declare_drive d cdrom "$WORK/cd"
mount -t tmpfs -o size=1536k cdsetup-small "$WORK/small" || { echo "FAILED: cannot mount the small drive"; exit 1; }
trap 'umount "$WORK/small"; e2e_end' EXIT
declare_drive e hd "$WORK/small"
head -c 1048576 /dev/zero >"$WORK/small/FILLER.BIN"
game="$WORK/small/Game"
entry='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\FullDrive'

# answer BUTTON FREED NOTICE: one installation into a fresh E:\Game, the box answered BUTTON.
answer() {
  rm -rf "$game"
  echo spare >"$WORK/small/SPARE.TXT"
  run_scenario copy-failure.txt ANSWER="$1" FREED="$2" NOTICE="$3"
}

snapshot before
check "Abort ends with the abort notice" answer '中止(&A)' 'E:\SPARE.TXT' インストールを中止しました
snapshot after-before
check "after Abort the files below C: are as they were" changed_since before files
check "after Abort the registry is as it was" changed_since before registry
check "after Abort E:\\Game is gone and the other file on E: is still there" \
  test ! -e "$game" -a -e "$WORK/small/FILLER.BIN"

check "Ignore finishes the installation" answer '無視(&I)' 'E:\SPARE.TXT' インストールが終了しました
check "after Ignore the record lists the file" grep -q 'COPY1=E:\\Game\\BIG.DAT' "$game/UNINST.INI"
check "after Ignore the uninstall entry is there" test -n "$(reg_export "$entry")"

check "Retry after freeing space finishes the installation" answer '再試行(&R)' 'E:\FILLER.BIN' インストールが終了しました
check "after Retry the file is whole" cmp "$WORK/cd/BIG.DAT" "$game/BIG.DAT"

e2e_finish
