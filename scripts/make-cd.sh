#!/usr/bin/env bash
# Makes a CD folder from a publisher's folder: a copy of it with the built i686 setup.exe at its
# top and, when the folder has the opening movie d.avi, the launcher as setupx.exe (the launcher
# starts the program named like itself without its last letter: setupx -> setup), and an
# AUTORUN.INF that starts the one or the other when the CD is inserted. The copy is made
# read-only, as the files of a pressed CD are. With --iso, OUT.iso is written as well: ISO 9660
# with Joliet names, which keep Japanese file names (Joliet stores UCS-2; the names here are
# UTF-8, as Linux keeps them), written by xorriso.
#
# The folder is checked with setupcheck first: its findings are printed (in the user's language,
# as setupcheck follows the locale; only its exit status is read here), and an error (a script
# that copies nothing, has no UNINSTALL, is not Shift-JIS, ...) stops the run before anything is
# written, unless --force is given.
#
# Usage: make-cd.sh SOURCE_FOLDER OUT [--iso] [--force] [--label LABEL]
#   SOURCE_FOLDER  the publisher's files, setup.ini (Shift-JIS, CR LF) at its top
#   OUT            the CD folder to make; an existing OUT is replaced
#   --label LABEL  the volume label: the Joliet name Windows shows for the CD and AUTORUN.INF's
#                  label=; up to 16 characters, Japanese allowed (default CDROM)
#   --force        make the CD even when setupcheck finds errors
# Environment:
#   CDSETUP_BUILD  the build tree to take the programs from (default build/win32, the product;
#                  build/win64 for runs under the 64-bit Wine)
#   SETUPCHECK     the setupcheck program to run (default build/host/bin/setupcheck)
set -euo pipefail

usage() {
  echo "usage: make-cd.sh SOURCE_FOLDER OUT [--iso] [--force] [--label LABEL]" >&2
  echo "  checks SOURCE_FOLDER with setupcheck, then copies it to OUT with setup.exe (and" >&2
  echo "  setupx.exe when it has d.avi) and AUTORUN.INF, read-only; --iso also writes OUT.iso" >&2
  echo "  (ISO 9660 + Joliet); --force goes on despite errors; --label names the volume" >&2
  exit 2
}

fail() {
  echo "make-cd: $*" >&2
  exit 1
}

iso=0
force=0
label=CDROM
positional=()
while [ $# -gt 0 ]; do
  case $1 in
    --iso) iso=1 ;;
    --force) force=1 ;;
    --label)
      [ $# -ge 2 ] || usage
      label=$2
      shift
      ;;
    -*) usage ;;
    *) positional+=("$1") ;;
  esac
  shift
done
[ ${#positional[@]} -eq 2 ] || usage
source_folder=${positional[0]}
out=${positional[1]%/}
[ -n "$out" ] || usage
[ -d "$source_folder" ] || { echo "make-cd: no folder '$source_folder'" >&2; usage; }

repo="$(cd "$(dirname "$0")/.." && pwd)"
build=${CDSETUP_BUILD:-$repo/build/win32}
setupcheck=${SETUPCHECK:-$repo/build/host/bin/setupcheck}

# Windows finds setup.ini and d.avi whatever their letter case; so does this check.
top_file() {
  find "$source_folder" -mindepth 1 -maxdepth 1 -type f -iname "$1" -print -quit
}
[ -n "$(top_file setup.ini)" ] || fail "no setup.ini at the top of '$source_folder': the installer reads it beside setup.exe"
[ -f "$build/bin/setup.exe" ] || fail "$build/bin/setup.exe is not built (make win32, or set CDSETUP_BUILD to a build tree that has it)"
with_launcher=0
if [ -n "$(top_file d.avi)" ]; then
  with_launcher=1
  [ -f "$build/bin/launcher.exe" ] || fail "the folder has d.avi but $build/bin/launcher.exe is not built"
fi
if [ $iso -eq 1 ]; then
  command -v xorriso >/dev/null || fail "--iso needs xorriso (scripts/install-deps.sh installs it)"
fi
[ -x "$setupcheck" ] || fail "$setupcheck is not built (make host, or set SETUPCHECK to the program)"

# Joliet keeps 16 UCS-2 characters of the label, and AUTORUN.INF is read in the system's code
# page, Shift-JIS on a Japanese Windows.
label_sjis=$(printf '%s' "$label" | iconv -f UTF-8 -t CP932 2>/dev/null) ||
  fail "the label '$label' cannot be written in Shift-JIS"
label_units=$(($(printf '%s' "$label" | iconv -f UTF-8 -t UTF-16LE | wc -c) / 2))
[ "$label_units" -ge 1 ] && [ "$label_units" -le 16 ] || fail "the label '$label' is not 1 to 16 characters"
[[ ! $label =~ [[:cntrl:]] ]] || fail "the label holds a control character"

# setupcheck reads the folder as the installer will read the CD.
check_status=0
findings=$("$setupcheck" "$source_folder" 2>&1) || check_status=$?
if [ $check_status -ge 2 ]; then
  printf '%s\n' "$findings" >&2
  [ $force -eq 1 ] || fail "setupcheck finds errors in '$source_folder': nothing written (--force makes the CD anyway)"
  echo "make-cd: making the CD despite the errors (--force)" >&2
elif [ $check_status -eq 1 ]; then
  printf '%s\n' "$findings" >&2
fi

# OUT is removed before the copy, so it must not hold the publisher's folder (or be inside it).
source_real=$(realpath "$source_folder")
out_real=$(realpath -m "$out")
case "$source_real/" in "$out_real"/*) fail "OUT '$out' holds the source folder" ;; esac
case "$out_real/" in "$source_real"/*) fail "OUT '$out' lies inside the source folder" ;; esac

if [ -e "$out" ]; then
  chmod -R u+w "$out"
  rm -rf "$out"
fi
mkdir -p "$out"
cp -r "$source_folder/." "$out/"
# A setup.exe, setupx.exe or AUTORUN.INF in the publisher's folder (an older CD's) is replaced.
find "$out" -mindepth 1 -maxdepth 1 -type f \( -iname setup.exe -o -iname setupx.exe -o -iname autorun.inf \) -delete
cp "$build/bin/setup.exe" "$out/setup.exe"
start=setup.exe
if [ $with_launcher -eq 1 ]; then
  cp "$build/bin/launcher.exe" "$out/setupx.exe"
  start=setupx.exe
fi
printf '[autorun]\r\nopen=%s\r\nicon=setup.exe\r\nlabel=%s\r\n' "$start" "$label_sjis" >"$out/AUTORUN.INF"
chmod -R a-w "$out"

if [ $iso -eq 1 ]; then
  rm -f "$out.iso"
  # -input-charset: the names on disk are UTF-8 whatever the caller's locale says (under another
  # one the Joliet names would lose their Japanese characters); -joliet-long allows names of up to
  # 103 characters instead of 64; -r adds Rock Ridge names with plain read rights for Linux.
  xorriso -as mkisofs -quiet -input-charset UTF-8 -J -joliet-long -r -V "$label" -o "$out.iso" "$out" ||
    fail "xorriso failed"
  echo "make-cd: $out and $out.iso"
else
  echo "make-cd: $out"
fi
