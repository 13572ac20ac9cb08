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
  bash "$E2E_SOURCE_DIR/scripts/make-cd.sh" "$WORK/cd" "$E2E_BIN_DIR/.." "${1:-4}" || exit 1
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

# file_is_text FILE TEXT-IN-UTF-8: FILE holds exactly TEXT converted to Shift-JIS.
file_is_sjis_text() {
  local expected
  expected=$(mktemp)
  printf '%s' "$2" | iconv -f UTF-8 -t CP932 >"$expected"
  cmp "$1" "$expected"
  local status=$?
  [ $status -eq 0 ] || { echo "  expected:"; od -c "$expected" | head -20; echo "  found:"; od -c "$1" | head -20; }
  rm -f "$expected"
  return $status
}

missing() {
  [ ! -e "$1" ]
}

# reg_export KEY: the key as .reg text in UTF-8 without carriage returns (nothing if it is absent).
reg_export() {
  local file="$WINEPREFIX/drive_c/harness-export.reg"
  rm -f "$file"
  wine_reg export "$1" 'C:\harness-export.reg' /y >/dev/null 2>&1 || return 0
  iconv -f UTF-16 -t UTF-8 "$file" | tr -d '\r'
  rm -f "$file"
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

# Files below a folder with their sizes, one per line, for before/after comparisons.
tree_listing() {
  (cd "$1" && find . -path ./windows/Installer -prune -o -printf '%y %p %s\n' | LC_ALL=C sort)
}
