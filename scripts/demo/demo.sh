#!/usr/bin/env bash
# The demo: the sample CD's installer under Wine in a Japanese locale, driven from the opening
# movie (when the launcher is built) through the installation to the uninstallation, with a
# PNG screenshot of each window reached.
#
# Usage: demo.sh BUILD_DIR OUT_DIR   (BUILD_DIR: a built win64 tree, or a win32 one with
# WINE_ARCH=win32; pictures go to OUT_DIR)
# Exit status 0 when the whole round trip ran; otherwise it names the step it stopped at and
# leaves the pictures taken so far, plus one of the screen at that moment.
set -uo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
build="$(realpath "$1")"
out="$(realpath -m "$2")"
source "$here/../wine-env.sh"

title="サンプルゲーム"
dest='C:\Games\Sample Game'

if [ -e "$out" ]; then
  chmod -R u+w "$out"
  rm -rf "$out"
fi
mkdir -p "$out/work/shots"
shots="$out/work/shots"

make_template_prefix "$build/wine-template" || exit 1
new_prefix "$out/work/prefix" "$build/wine-template" || exit 1
trap wine_teardown EXIT
start_xvfb || exit 1
wine_start
# Large enough that the copy lasts a few seconds, so the progress window is caught while it works.
CDSETUP_BUILD="$build" bash "$here/../make-sample-cd.sh" "$out/work/cd" 192 || exit 1
declare_drive d cdrom "$out/work/cd"

collect_shots() {
  local bmp
  for bmp in "$shots"/*.bmp; do
    [ -e "$bmp" ] || continue
    bmp_to_png "$bmp" "$out/$(basename "${bmp%.bmp}").png" && rm -f "$bmp"
  done
}

stopped() {
  echo "demo: stopped at $1 (the program goes this far today)"
  screenshot "$out/99-stopped-here.png"
  collect_shots
  ls "$out"/*.png
  exit 1
}

driver() {
  run_wine "$build/bin/e2e_driver.exe" "$@" SHOTS="$(wine_path "$shots")" TITLE="$title" DEST="$dest"
}

if [ -f "$out/work/cd/setupx.exe" ]; then start_part=start-launcher.txt; else start_part=start-setup.txt; fi
cat "$here/$start_part" "$here/install.txt" >"$out/work/install.txt"
echo "--- installation ($start_part)"
driver "$(wine_path "$out/work/install.txt")" || stopped "the installation"

uninstall=$(wine_reg query "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$title" /v UninstallString 2>/dev/null |
  sed -n 's/^ *UninstallString *REG_SZ *//p' | tr -d '\r')
[ -n "$uninstall" ] || stopped "reading the uninstall entry"
echo "--- uninstallation: $uninstall"
driver "$(wine_path "$here/uninstall.txt")" UNINSTALL="$uninstall" || stopped "the uninstallation"

collect_shots
echo "demo: the whole round trip ran; screenshots:"
ls "$out"/*.png
