#!/usr/bin/env bash
# The publisher's tools on a small folder whose title, folders and files are Japanese: 星の図書館
# into C:\ゲーム表\星の図書館 (表 ends in the byte of "\" in Shift-JIS). make-cd.sh --iso keeps the
# Japanese names in the image's Joliet tree, adds AUTORUN.INF and takes a Japanese label, and
# refuses a script setupcheck finds errors in (a misspelt SRC) unless --force; try-cd.sh installs
# into the default folder, reads the uninstall entry and record, uninstalls, and finds every
# recorded file and key removed. Both scripts refuse bad command lines.
source "$(dirname "$0")/lib.sh"

WORK="$E2E_WORK_DIR/try-cd"
if [ -e "$WORK" ]; then
  chmod -R u+w "$WORK"
  rm -rf "$WORK"
fi
mkdir -p "$WORK"
export CDSETUP_BUILD="$E2E_BIN_DIR/.."
scripts="$E2E_SOURCE_DIR/scripts"

publisher="$WORK/publisher"
mkdir -p "$publisher/DATA/図表"
sed 's/$/\r/' <<'SCRIPT' | iconv -f UTF-8 -t CP932 >"$publisher/setup.ini"
[SETUP]
TITLE=星の図書館
DIR=#:\ゲーム表\星の図書館
SRC=@:\DATA
GROUP=星の工房
UNINSTALL=UNINST.INI
CFGNAME=$\星.CFG
COPY1=*.*,$
COPY2=図表\*.*,$\図表
REG1=open,HKEY_CURRENT_USER\Software\星の工房\星の図書館
REG2=string,InstallDir,$
CFG1=[星]
CFG2=PATH=$
START1=説明.TXT,説明書,星の図書館
REMOVE1=$\SAVE\記録.DAT
SCRIPT
printf 'お読みください\r\n' | iconv -f UTF-8 -t CP932 >"$publisher/DATA/説明.TXT"
head -c 3000 /dev/urandom >"$publisher/DATA/星図.DAT"
head -c 5000 /dev/urandom >"$publisher/DATA/図表/地図01.DAT"

# exits_with STATUS COMMAND...: the command ends with STATUS.
exits_with() {
  local want=$1 status=0
  shift
  "$@" >"$WORK/last-output.txt" 2>&1 || status=$?
  [ "$status" -eq "$want" ] || { echo "  exit status $status, expected $want:"; cat "$WORK/last-output.txt"; return 1; }
}
mkdir -p "$WORK/no-script"
usage_errors() {
  exits_with 2 bash "$scripts/make-cd.sh" && exits_with 2 bash "$scripts/make-cd.sh" "$publisher" &&
    exits_with 2 bash "$scripts/make-cd.sh" "$publisher" "$WORK/x" --bogus &&
    exits_with 2 bash "$scripts/try-cd.sh"
}
check "make-cd.sh and try-cd.sh exit 2 on a missing argument or an unknown option" usage_errors
no_script_refused() {
  exits_with 1 bash "$scripts/make-cd.sh" "$WORK/no-script" "$WORK/x" && grep -q "no setup.ini" "$WORK/last-output.txt"
}
check "make-cd.sh refuses a folder without setup.ini, naming it" no_script_refused

# SCR= for SRC=: the installer would copy nothing. Its movie makes the launcher the AutoPlay program.
typo="$WORK/typo"
cp -r "$publisher" "$typo"
cp "$E2E_BIN_DIR/../clips/d.avi" "$typo/d.avi"
iconv -f CP932 -t UTF-8 "$publisher/setup.ini" | sed 's/^SRC=/SCR=/' | iconv -f UTF-8 -t CP932 >"$typo/setup.ini"
errors_refused_unless_forced() {
  LC_ALL=C exits_with 1 bash "$scripts/make-cd.sh" "$typo" "$WORK/typo-cd" --iso &&
    grep -q "error: no file is copied" "$WORK/last-output.txt" && [ ! -e "$WORK/typo-cd" ] &&
    [ ! -e "$WORK/typo-cd.iso" ] || return 1
  LC_ALL=C exits_with 0 bash "$scripts/make-cd.sh" "$typo" "$WORK/typo-cd" --force &&
    grep -q "error: no file is copied" "$WORK/last-output.txt" && grep -q '^open=setupx.exe' "$WORK/typo-cd/AUTORUN.INF"
}
check "make-cd.sh refuses a script that copies nothing, naming the cause; --force makes it, with the launcher" \
  errors_refused_unless_forced
# Both before Wine starts: try-cd tries only what make-cd would press, with a build of its Wine's kind.
refused_before_wine() {
  LC_ALL=C exits_with 1 bash "$scripts/try-cd.sh" "$typo" "$WORK/try-typo" && grep -q "error: no file is copied" "$WORK/last-output.txt" &&
    WINE_ARCH=win32 exits_with 1 bash "$scripts/try-cd.sh" "$publisher" "$WORK/try-x" &&
    grep -q "bin/setup.exe is win64, not win32" "$WORK/last-output.txt" && [ ! -e "$WORK/try-x/work/prefix" ]
}
check "try-cd.sh refuses a script that copies nothing and a build of the other kind than its Wine" refused_before_wine

# The image's Joliet tree (Rock Ridge left unread) holds the folder's names and bytes.
iso_names_match() {
  (cd "$WORK/cd" && find . -mindepth 1 | sed 's/^\.//' | LC_ALL=C sort) >"$WORK/cd-names.txt"
  LC_ALL=C.UTF-8 xorriso -read_fs norock -indev "$WORK/cd.iso" -find / 2>/dev/null |
    sed "s/^'//; s/'\$//" | grep -vx / | LC_ALL=C sort >"$WORK/iso-names.txt"
  diff "$WORK/cd-names.txt" "$WORK/iso-names.txt" || return 1
  LC_ALL=C.UTF-8 xorriso -read_fs norock -indev "$WORK/cd.iso" -osirrox on \
    -extract /DATA/図表/地図01.DAT "$WORK/extracted.DAT" >/dev/null 2>&1 &&
    cmp "$publisher/DATA/図表/地図01.DAT" "$WORK/extracted.DAT"
}
check "make-cd.sh --iso makes the CD folder and its image" \
  bash "$scripts/make-cd.sh" "$publisher" "$WORK/cd" --iso --label 星の図書館
cd_as_made() {
  [ -z "$(find "$WORK/cd" -perm /222)" ] && cmp "$E2E_BIN_DIR/setup.exe" "$WORK/cd/setup.exe" &&
    [ ! -e "$WORK/cd/setupx.exe" ]
}
check "the CD folder is read-only and has setup.exe but no launcher (no d.avi)" cd_as_made
check "the Joliet names are the Japanese names, with the files' bytes" iso_names_match
# The Joliet volume descriptor (type 2, the sector after the primary one) holds the label in
# UCS-2; AUTORUN.INF on the image starts setup.exe (no movie) in Shift-JIS with CR LF.
autorun_and_label() {
  [ "$(dd if="$WORK/cd.iso" bs=2048 skip=17 count=1 2>/dev/null | head -c 6 | od -An -c | tr -d ' ')" = 002CD001 ] &&
    [ "$(dd if="$WORK/cd.iso" bs=2048 skip=17 count=1 2>/dev/null | tail -c +41 | head -c 32 |
      iconv -f UTF-16BE -t UTF-8 | sed 's/ *$//')" = 星の図書館 ] || return 1
  LC_ALL=C.UTF-8 xorriso -read_fs norock -indev "$WORK/cd.iso" -osirrox on \
    -extract /AUTORUN.INF "$WORK/autorun.inf" >/dev/null 2>&1 &&
    [ "$(iconv -f CP932 -t UTF-8 "$WORK/autorun.inf")" = "$(printf '[autorun]\r\nopen=setup.exe\r\nicon=setup.exe\r\nlabel=星の図書館\r')" ]
}
check "the image's Joliet label is the Japanese one and its AUTORUN.INF starts setup.exe" autorun_and_label

check "try-cd.sh runs the round trip" bash "$scripts/try-cd.sh" "$publisher" "$WORK/try"
removal_as_expected() {
  LC_ALL=C sort "$WORK/try/work/removal.txt" >"$WORK/removal-sorted.txt"
  LC_ALL=C sort >"$WORK/removal-expected.txt" <<'EXPECTED'
removed file C:\ゲーム表\星の図書館\星図.DAT
removed file C:\ゲーム表\星の図書館\説明.TXT
removed file C:\ゲーム表\星の図書館\図表\地図01.DAT
removed file C:\ゲーム表\星の図書館\星.CFG
absent file C:\ゲーム表\星の図書館\SAVE\記録.DAT
removed key HKEY_CURRENT_USER\Software\星の工房\星の図書館
EXPECTED
  diff "$WORK/removal-expected.txt" "$WORK/removal-sorted.txt"
}
check "what the record listed was there after the installation and gone after the uninstallation" removal_as_expected
# An error box the round trip does not expect ends it at once with the box's text: the dry run
# gives every drive letter a hard disk, Wine has no Q:.
elsewhere="$WORK/elsewhere"
cp -r "$publisher" "$elsewhere"
iconv -f CP932 -t UTF-8 "$publisher/setup.ini" | sed 's/^DIR=#:/DIR=Q:/' | iconv -f UTF-8 -t CP932 >"$elsewhere/setup.ini"
box_text_at_once() {
  exits_with 1 bash "$scripts/try-cd.sh" "$elsewhere" "$WORK/try-elsewhere" &&
    grep -q 'an unexpected box "エラー" says "ハードディスク以外のドライブにはインストールできません"' "$WORK/last-output.txt"
}
check "try-cd.sh stops at an unexpected error box, printing its text" box_text_at_once
# A plan that lacks a copied file and a value, and expects another configuration line.
cat >"$WORK/altered-setupcheck" <<EOF
#!/bin/bash
"$E2E_SOURCE_DIR/build/host/bin/setupcheck" "\$@" | sed '/星図.DAT ->/d; /^    InstallDir = /d; s/^  | PATH=/  | PATH=X/'
EOF
chmod +x "$WORK/altered-setupcheck"
plan_differences_named() {
  SETUPCHECK="$WORK/altered-setupcheck" exits_with 1 bash "$scripts/try-cd.sh" "$publisher" "$WORK/try-altered" &&
    sort "$WORK/try-altered/work/plan-differences.txt" | diff - <(sort <<'EXPECTED'
UNPLANNED file C:\ゲーム表\星の図書館\星図.DAT
DIFFERENT text in C:\ゲーム表\星の図書館\星.CFG
UNPLANNED value HKEY_CURRENT_USER\Software\星の工房\星の図書館 "InstallDir"="C:\\ゲーム表\\星の図書館"
EXPECTED
  )
}
check "try-cd.sh fails when the installation is not setupcheck's plan, naming each difference" plan_differences_named
screenshots_taken() {
  local shot
  for shot in 02-main-dialog 03-create-folder 05-install-finished 06-uninstall-finished; do
    [ -s "$WORK/try/$shot.png" ] || { echo "  no $shot.png"; return 1; }
  done
}
check "a screenshot of each window reached" screenshots_taken

if [ "$E2E_FAILURES" -ne 0 ]; then
  echo "$E2E_FAILURES check(s) failed"
  exit 1
fi
echo "all checks passed"
rm -rf "$WORK/try/work/prefix"
