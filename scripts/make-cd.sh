#!/usr/bin/env bash
# Makes a CD folder from a publisher's folder: a copy of it with the built i686 setup.exe at its
# top and, when the folder has the opening movie d.avi, the launcher as setupx.exe (the launcher
# starts the program named like itself without its last letter: setupx -> setup). The copy is
# made read-only, as the files of a pressed CD are. With --iso, OUT.iso is written as well: ISO
# 9660 with Joliet names, which keep Japanese file names (Joliet stores UCS-2; the names here are
# UTF-8, as Linux keeps them), written by xorriso.
#
# Usage: make-cd.sh SOURCE_FOLDER OUT [--iso]
#   SOURCE_FOLDER  the publisher's files, setup.ini (Shift-JIS, CR LF) at its top
#   OUT            the CD folder to make; an existing OUT is replaced
# Environment:
#   CDSETUP_BUILD  the build tree to take the programs from (default build/win32, the product;
#                  build/win64 for runs under the 64-bit Wine)
#   CD_LABEL       the ISO image's volume label (default CDROM; A-Z, 0-9 and _, up to 32)
set -euo pipefail

usage() {
  echo "usage: make-cd.sh SOURCE_FOLDER OUT [--iso]" >&2
  echo "  copies SOURCE_FOLDER to OUT with setup.exe (and setupx.exe when it has d.avi)," >&2
  echo "  read-only; --iso also writes OUT.iso (ISO 9660 + Joliet)" >&2
  exit 2
}

fail() {
  echo "make-cd: $*" >&2
  exit 1
}

iso=0
positional=()
for argument in "$@"; do
  case $argument in
    --iso) iso=1 ;;
    -*) usage ;;
    *) positional+=("$argument") ;;
  esac
done
[ ${#positional[@]} -eq 2 ] || usage
source_folder=${positional[0]}
out=${positional[1]%/}
[ -n "$out" ] || usage
[ -d "$source_folder" ] || { echo "make-cd: no folder '$source_folder'" >&2; usage; }

repo="$(cd "$(dirname "$0")/.." && pwd)"
build=${CDSETUP_BUILD:-$repo/build/win32}
label=${CD_LABEL:-CDROM}

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
  [[ $label =~ ^[A-Z0-9_]{1,32}$ ]] || fail "CD_LABEL '$label' is not 1 to 32 of A-Z, 0-9 and _"
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
# A setup.exe or setupx.exe in the publisher's folder (an older CD's) is replaced by the built one.
find "$out" -mindepth 1 -maxdepth 1 -type f \( -iname setup.exe -o -iname setupx.exe \) -delete
cp "$build/bin/setup.exe" "$out/setup.exe"
if [ $with_launcher -eq 1 ]; then
  cp "$build/bin/launcher.exe" "$out/setupx.exe"
fi
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
