#!/usr/bin/env bash
# A full installation of the sample CD, then what it left on the machine, checked from outside:
# the files and their bytes, the registry values and the uninstall entry, the configuration
# file and the uninstall record byte for byte, the uninstaller copy and the shortcuts.
source "$(dirname "$0")/lib.sh"

e2e_begin install
e2e_make_cd
cd_data="$WORK/cd/DATA"
# A folder with a blank: the record's path must reach the uninstaller as one argument.
dest='C:\Games\Sample Game'
dest_dir=$(c_path "$dest")

require_scenario install-sample.txt TITLE="$SAMPLE_TITLE" DEFAULT="$SAMPLE_DEST" DEST="$dest"

# The files the sample's COPY lines name, in the order of the lines, as "folder|name": the
# folder is the same on the CD (below DATA) and in the destination. Within a line the names
# come sorted, the order in which Wine lists a folder.
copied_files() {
  local folder pattern
  while read -r folder pattern; do
    (cd "$cd_data/$folder" && find . -maxdepth 1 -type f -name "$pattern" -printf "$folder|%f\n" | LC_ALL=C sort)
  done <<'EOF'
. *
STAGE *.DAT
MANUAL MANUAL.TXT
SOUND *
MOVIE OPENING.DAT
EOF
}

copies_match_cd() {
  local folder name status=0
  while IFS='|' read -r folder name; do
    if ! cmp -s "$cd_data/$folder/$name" "$dest_dir/$folder/$name"; then
      echo "  $folder/$name differs from the CD or is missing"
      status=1
    fi
  done < <(copied_files)
  return $status
}
check "every file of the COPY lines is copied with the CD's bytes" copies_match_cd

# Files from a CD are read-only; their copies must not be.
copies_are_writable() {
  local found
  found=$(find "$dest_dir" -type f ! -perm -u+w)
  [ -z "$found" ] || { echo "  read-only: $found"; return 1; }
}
check "the copies are writable" copies_are_writable

only_expected_files() {
  local expected actual
  expected=$( (copied_files | sed 's/^\.|//; s/|/\//'
    echo GAME.CFG
    echo "$SAMPLE_RECORD") | LC_ALL=C sort)
  actual=$(cd "$dest_dir" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
  diff <(echo "$expected") <(echo "$actual")
}
check "the destination holds the copies, the configuration file and the record, nothing else" only_expected_files

printf '[GAME]\r\nPATH=%s\r\nCD=D:\r\nWINDIR=C:\\windows\r\n' "$dest" >"$WORK/expected-cfg.txt"
check "the configuration file's bytes" same_sjis_text "$dest_dir/GAME.CFG" "$WORK/expected-cfg.txt"

# The record lists the copied files in the order they were copied.
expected_record() {
  local n=0 folder name
  printf '[SETUP]\r\nTITLE=%s\r\nGROUP=%s\r\n' "$SAMPLE_TITLE" "$SAMPLE_GROUP"
  while IFS='|' read -r folder name; do
    n=$((n + 1))
    if [ "$folder" = . ]; then
      printf 'COPY%d=%s\\%s\r\n' $n "$dest" "$name"
    else
      printf 'COPY%d=%s\\%s\\%s\r\n' $n "$dest" "$folder" "$name"
    fi
  done < <(copied_files)
  printf 'COPY%d=%s\\GAME.CFG\r\n' $((n + 1)) "$dest"
  printf 'COPY%d=%s\\SAVE\\SCORE.DAT\r\n' $((n + 2)) "$dest"
  printf 'REG1=HKEY_LOCAL_MACHINE\\SOFTWARE\\SampleSoft\\SampleGame\r\n'
  printf 'REG2=HKEY_CURRENT_USER\\Software\\SampleSoft\\SampleGame\r\n'
  printf 'SHORTCUT=1\r\n\r\n'
}
expected_record >"$WORK/expected-record.txt"
check "the uninstall record's bytes" same_sjis_text "$dest_dir/$SAMPLE_RECORD" "$WORK/expected-record.txt"

check "the uninstaller is a copy of setup.exe in the Windows folder" \
  same_bytes "$E2E_BIN_DIR/setup.exe" "$(c_path 'C:\windows\unkelvo4.exe')"

game_key='HKEY_LOCAL_MACHINE\SOFTWARE\SampleSoft\SampleGame'
user_key='HKEY_CURRENT_USER\Software\SampleSoft\SampleGame'
uninstall_key="HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$SAMPLE_TITLE"
escaped_dest=${dest//\\/\\\\}
check "REG string with \$" reg_has "$game_key" "\"InstallDir\"=\"$escaped_dest\""
check "REG string with @" reg_has "$game_key" '"CDDrive"="D:"'
check "REG string with a Japanese name and text" reg_has "$game_key" "\"タイトル\"=\"$SAMPLE_TITLE\""
check "REG long in hexadecimal" reg_has "$game_key" '"Version"=dword:00000100'
check "REG long under HKEY_CURRENT_USER" reg_has "$user_key" '"Volume"=dword:00000050'
check "REG string with a path below \$" reg_has "$user_key" "\"SaveDir\"=\"$escaped_dest\\\\SAVE\""
check "the uninstall entry's DisplayName" reg_has "$uninstall_key" "\"DisplayName\"=\"$SAMPLE_TITLE\""
check "the uninstall entry's UninstallString" reg_has "$uninstall_key" \
  "\"UninstallString\"=\"C:\\\\windows\\\\unkelvo4.exe \\\"$escaped_dest\\\\$SAMPLE_RECORD\\\"\""
# The icon, the size of the copied files in KiB rounded up, and no Change or Repair.
entry_icon_size_flags() {
  local total=0 folder name
  while IFS='|' read -r folder name; do total=$((total + $(stat -c %s "$cd_data/$folder/$name"))); done < <(copied_files)
  reg_has "$uninstall_key" '"DisplayIcon"="C:\\windows\\unkelvo4.exe"' &&
    reg_has "$uninstall_key" "$(printf '"EstimatedSize"=dword:%08x' $(((total + 1023) / 1024)))" &&
    reg_has "$uninstall_key" '"NoModify"=dword:00000001' && reg_has "$uninstall_key" '"NoRepair"=dword:00000001'
}
check "the uninstall entry's DisplayIcon, EstimatedSize, NoModify and NoRepair" entry_icon_size_flags

programs=$(prefix_programs_dir)
start_folder="$programs/$SAMPLE_GROUP/$SAMPLE_TITLE"
only_two_links() {
  diff <(printf '%s\n' お読みください.lnk マニュアル.lnk | LC_ALL=C sort) <(ls "$start_folder" | LC_ALL=C sort)
}
check "the Start-menu folder holds the two shortcuts" only_two_links
check "the shortcuts' targets, working folders and descriptions" \
  run_scenario check-links.txt FOLDER="$(wine_path "$start_folder")" DEST="$dest"

e2e_finish
