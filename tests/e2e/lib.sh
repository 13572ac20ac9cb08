# Shared steps of the end-to-end scenario scripts: a private prefix and display per test, the
# sample CD on a drive, running the driver, and the checks made afterwards from the Linux side.
# Sourced by tests/e2e/*.sh, which ctest runs with the variables of tests/e2e/CMakeLists.txt.

set -uo pipefail

: "${E2E_SOURCE_DIR:?}" "${E2E_BIN_DIR:?}" "${E2E_WORK_DIR:?}" "${WINE_TEMPLATE:?}"
source "$E2E_SOURCE_DIR/scripts/wine-env.sh"

E2E_DRIVER="$E2E_BIN_DIR/e2e_driver.exe"
E2E_SCENARIOS="$E2E_SOURCE_DIR/tests/e2e/scenarios"
E2E_FAILURES=0

# The sample CD's title, default folder and names as they appear once installed.
SAMPLE_TITLE="サンプルゲーム"
SAMPLE_GROUP="サンプル工房"
SAMPLE_DEST='C:\Games\Sample'
SAMPLE_RECORD='UNINST.INI'

e2e_end() {
  wine_teardown
}

# e2e_begin NAME: a clean work folder $WORK, a prefix copied from the template, an Xvfb display.
e2e_begin() {
  WORK="$E2E_WORK_DIR/$1"
  if [ -e "$WORK" ]; then
    chmod -R u+w "$WORK" 2>/dev/null
    rm -rf "$WORK"
  fi
  mkdir -p "$WORK"
  trap e2e_end EXIT
  new_prefix "$WORK/prefix" "$WINE_TEMPLATE" || exit 1
  start_xvfb || exit 1
  wine_start
  echo "work folder: $WORK, display $DISPLAY"
}

# e2e_make_cd [LARGE_MB]: the sample CD image in $WORK/cd, mounted as D: of type cdrom.
e2e_make_cd() {
  CDSETUP_BUILD="$E2E_BIN_DIR/.." bash "$E2E_SOURCE_DIR/scripts/make-sample-cd.sh" "$WORK/cd" "${1:-4}" || exit 1
  declare_drive d cdrom "$WORK/cd"
}

# e2e_edit_cd_script SED-EXPRESSION: changes the CD's setup.ini byte-wise (Shift-JIS stays intact).
e2e_edit_cd_script() {
  chmod u+w "$WORK/cd/setup.ini"
  LC_ALL=C sed -i "$1" "$WORK/cd/setup.ini"
  chmod a-w "$WORK/cd/setup.ini"
}

# run_scenario FILE [NAME=VALUE ...]: runs the driver on tests/e2e/scenarios/FILE; the status
# is the driver's (0 when every step matched).
run_scenario() {
  local file=$1
  shift
  echo "--- scenario $file"
  run_wine "$E2E_DRIVER" "$(wine_path "$E2E_SCENARIOS/$file")" "$@"
}

check() {
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"
  else
    echo "FAILED: $what"
    E2E_FAILURES=$((E2E_FAILURES + 1))
  fi
}

# The scenario must pass before any later check makes sense.
require_scenario() {
  if ! run_scenario "$@"; then
    echo "FAILED: scenario $1"
    exit 1
  fi
}

e2e_finish() {
  if [ "$E2E_FAILURES" -ne 0 ]; then
    echo "$E2E_FAILURES check(s) failed"
    exit 1
  fi
  echo "all checks passed"
  # A prefix copy takes about 700 MB: kept only when something failed, for looking into it.
  kill_wine
  rm -rf "$WINEPREFIX"
  exit 0
}

# Unix path of a Windows path on drive C: (C:\Games\Sample -> $WINEPREFIX/drive_c/Games/Sample).
c_path() {
  local path=${1#[Cc]:\\}
  printf '%s/drive_c/%s\n' "$WINEPREFIX" "${path//\\//}"
}

same_bytes() {
  cmp "$1" "$2"
}

# same_sjis_text FILE EXPECTED: FILE holds exactly the UTF-8 text of file EXPECTED in Shift-JIS.
same_sjis_text() {
  local expected="$2.sjis"
  iconv -f UTF-8 -t CP932 "$2" >"$expected" || return 1
  cmp "$1" "$expected" && return 0
  echo "  expected (as UTF-8):"
  sed -n l "$2" | head -40
  echo "  found (as UTF-8):"
  iconv -f CP932 -t UTF-8 "$1" | sed -n l | head -40
  return 1
}

missing() {
  [ ! -e "$1" ]
}

# reg_has KEY LINE: the exported key holds LINE exactly (a value line such as "Name"="text").
reg_has() {
  local exported
  exported=$(reg_export "$1")
  if ! grep -qxF -- "$2" <<<"$exported"; then
    echo "  $1 holds:"
    sed 's/^/    /' <<<"$exported"
    return 1
  fi
}

reg_key_missing() {
  [ -z "$(reg_export "$1")" ]
}

# The uninstall entry's command line, as the system's list of installed programs would run it.
uninstall_string() {
  reg_export "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$1" |
    sed -n 's/^"UninstallString"="\(.*\)"$/\1/p' | sed 's/\\\\/\\/g; s/\\"/"/g'
}

# Everything below a folder, one line each: "d PATH" for folders, "f PATH SIZE" for files.
tree_listing() {
  (cd "$1" && find . -mindepth 1 \( -type f -printf 'f %p %s\n' \) -o -printf '%y %p\n' | LC_ALL=C sort)
}

# e2e_write_cd_script: replaces the CD's setup.ini with standard input, UTF-8 text with LF line
# ends, written in Shift-JIS with CR LF as the installer reads it.
e2e_write_cd_script() {
  chmod u+w "$WORK/cd" "$WORK/cd/setup.ini"
  sed 's/$/\r/' | iconv -f UTF-8 -t CP932 >"$WORK/cd/setup.ini"
  chmod a-w "$WORK/cd/setup.ini" "$WORK/cd"
}

# Keys with their values, one paragraph each; Wine's own settings, which Wine itself changes
# whenever a window first appears, are left out.
registry_listing() {
  { reg_export 'HKEY_LOCAL_MACHINE\SOFTWARE'; reg_export 'HKEY_CURRENT_USER\Software'; } |
    awk 'BEGIN { RS = ""; ORS = "\n\n" } !/^\[HKEY_CURRENT_USER\\Software\\Wine[]\\]/'
}

# changed_since NAME KIND ALLOWED...: what differs in KIND (files, registry) between snapshot NAME
# and snapshot after-NAME is exactly the ALLOWED lines ("> ..." added, "< ..." gone).
changed_since() {
  local name=$1 kind=$2
  shift 2
  diff "$WORK/$kind-$name.txt" "$WORK/$kind-after-$name.txt" | grep '^[<>]' | LC_ALL=C sort >"$WORK/$kind-diff-$name.txt"
  diff <({ [ $# -eq 0 ] || printf '%s\n' "$@"; } | LC_ALL=C sort) "$WORK/$kind-diff-$name.txt"
}

# snapshot NAME: the files below drive C: and the registry, in $WORK/files-NAME.txt and
# $WORK/registry-NAME.txt.
snapshot() {
  tree_listing "$WINEPREFIX/drive_c" >"$WORK/files-$1.txt"
  registry_listing >"$WORK/registry-$1.txt"
}
