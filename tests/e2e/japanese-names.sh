#!/usr/bin/env bash
# Japanese names whose second byte is the backslash's code (ソ 表 能 予 構) in the destination,
# the COPY destinations, the Start-menu group and the registry keys: install, check what was
# made, let the product add subkeys, install again over a read-only and a hidden file, then
# uninstall through the registered command line. Afterwards only what the uninstaller keeps by
# design is left, and a key of another program below HKEY_LOCAL_MACHINE that a REG line names
# with a blank before its root survives. Then the same round trip for a folder typed with "/".
source "$(dirname "$0")/lib.sh"

e2e_begin japanese-names
e2e_make_cd 1
cd_data="$WORK/cd/DATA"
title='ゲーム構'
dest='C:\ゲーム\ソフト表'
dest_dir=$(c_path "$dest")

e2e_write_cd_script <<'SCRIPT'
[SETUP]
TITLE=ゲーム構
DIR=C:\ゲーム\ソフト表
SRC=@:\DATA
GROUP=予
UNINSTALL=UNINST.INI
COPY1=*.TXT,$
COPY2=STAGE\*.DAT,$\能
COPY3=SOUND\SE0?.DAT,$\ソフト\能
REG1=open,HKEY_CURRENT_USER\Software\ソフト表\能
REG2=string,Path,$
REG3=open, HKEY_LOCAL_MACHINE\SOFTWARE\ForeignSoft
REG4=string,Mine,1
START1=README.TXT,説明,ゲーム構
SCRIPT

# The attribute letters that Wine's attrib shows for a file (R, H, A, ...).
attributes_of() {
  run_wine attrib "$1" 2>/dev/null | LC_ALL=C sed 's/ *[A-Za-z]:\\.*$//' | tr -d ' \r'
}

wine_reg add 'HKLM\SOFTWARE\ForeignSoft\Data' /v Owner /d 'another program' /f >/dev/null
snapshot before
require_scenario install-sample.txt TITLE="$title" DEFAULT="$dest" DEST="$dest"

copies_match() {
  local status=0 pair
  for pair in README.TXT:README.TXT STAGE/STAGE01.DAT:能/STAGE01.DAT STAGE/STAGE03.DAT:能/STAGE03.DAT \
    SOUND/SE01.DAT:ソフト/能/SE01.DAT SOUND/SE02.DAT:ソフト/能/SE02.DAT; do
    cmp -s "$cd_data/${pair%%:*}" "$dest_dir/${pair#*:}" || { echo "  ${pair#*:} differs or is missing"; status=1; }
  done
  return $status
}
check "every file lands in its folder ending in 0x5C, with the CD's bytes" copies_match
check "the REG value below the Japanese key" reg_has 'HKEY_CURRENT_USER\Software\ソフト表\能' "\"Path\"=\"${dest//\\/\\\\}\""
check "a root written with a blank before it is HKEY_CURRENT_USER" reg_has 'HKEY_CURRENT_USER\SOFTWARE\ForeignSoft' '"Mine"="1"'
check "the shortcut in the Japanese group" test -f "$(prefix_programs_dir)/予/ゲーム構/説明.lnk"

# The product adds keys of its own below its key; a second installation meets files that the
# user made read-only and hidden.
wine_reg add 'HKCU\Software\ソフト表\能\予構\能' /v x /d y /f >/dev/null
chmod a-w "$dest_dir/README.TXT"
run_wine attrib +h "$dest\\能\\STAGE01.DAT" >/dev/null 2>&1
check "the file was made hidden" grep -q H <<<"$(attributes_of "$dest\\能\\STAGE01.DAT")"
require_scenario install-existing.txt TITLE="$title" DEFAULT="$dest" DEST="$dest"
check "a read-only file in the way is made writable" test -w "$dest_dir/README.TXT"
stage_attributes=$(attributes_of "$dest\\能\\STAGE01.DAT")
check "a hidden file in the way is made visible ($stage_attributes)" test "$stage_attributes" = A

command_line=$(uninstall_string "$title")
check "the uninstall entry names the record in the Japanese folder" \
  test "$command_line" = "C:\\windows\\unkelvo4.exe \"$dest\\UNINST.INI\""
require_scenario uninstall-sample.txt UNINSTALL="$command_line"
snapshot after-before
# The destination still held its subfolders at its turn, ソフト held no listed file, and the
# destination's parent was made for it; the key's parent was made by opening the key.
check "files are as before but for the uninstaller and the folders it keeps by design" changed_since before files \
  "> d ./ゲーム" "> d ./ゲーム/ソフト表" "> d ./ゲーム/ソフト表/ソフト" \
  "> f ./windows/unkelvo4.exe $(stat -c %s "$E2E_BIN_DIR/setup.exe")"
check "the registry is as before but for the Japanese key's parent" changed_since before registry \
  '> [HKEY_CURRENT_USER\Software\ソフト表]' '> '
check "the other program's key below HKEY_LOCAL_MACHINE survives" reg_has 'HKLM\SOFTWARE\ForeignSoft\Data' \
  '"Owner"="another program"'

# A destination typed with "/", whose parents are missing, and a COPY destination with "/".
e2e_write_cd_script <<'SCRIPT'
[SETUP]
TITLE=Star
DIR=C:\Star
SRC=@:\DATA
UNINSTALL=UNINST.INI
COPY1=README.TXT,$
COPY2=STAGE\*.DAT,$\x/y
SCRIPT
snapshot slash
require_scenario install-sample.txt TITLE=Star DEFAULT='C:\Star' DEST='C:/Games/New/Star'
check "the folders typed with / are made with their parents" test -f "$WINEPREFIX/drive_c/Games/New/Star/x/y/STAGE02.DAT"
command_line=$(uninstall_string Star)
check "the uninstall entry keeps the typed folder" \
  test "$command_line" = 'C:\windows\unkelvo4.exe "C:/Games/New/Star\UNINST.INI"'
require_scenario uninstall-sample.txt UNINSTALL="$command_line"
snapshot after-slash
check "the files recorded under C:/ are removed" changed_since slash files \
  "> d ./Games" "> d ./Games/New" "> d ./Games/New/Star" "> d ./Games/New/Star/x"

e2e_finish
