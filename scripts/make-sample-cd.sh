#!/usr/bin/env bash
# Makes the sample CD: the committed files of examples/cd plus what is not kept in the
# repository, namely the opening movie d.avi drawn by the build (when the launcher is built too)
# and the two large data files DATA\MOVIE\OPENING.DAT and DATA\SOUND\BGM01.DAT of random bytes.
# The assembled folder then goes through make-cd.sh like any publisher's folder.
#
# Usage: make-sample-cd.sh OUT [LARGE_MB] [--iso]
#   OUT       the CD folder to make (replaced when it exists); with --iso also OUT.iso
#   LARGE_MB  size of DATA\MOVIE\OPENING.DAT in MB (default 24); DATA\SOUND\BGM01.DAT is half
# Environment: CDSETUP_BUILD, the build tree (default build/win32), as for make-cd.sh.
set -euo pipefail

usage() {
  echo "usage: make-sample-cd.sh OUT [LARGE_MB] [--iso]" >&2
  exit 2
}

flags=()
positional=()
for argument in "$@"; do
  case $argument in
    --iso) flags+=(--iso) ;;
    -*) usage ;;
    *) positional+=("$argument") ;;
  esac
done
[ ${#positional[@]} -ge 1 ] && [ ${#positional[@]} -le 2 ] || usage
out=${positional[0]%/}
large_mb=${positional[1]:-24}
[[ $large_mb =~ ^[0-9]+$ ]] || usage

here="$(cd "$(dirname "$0")" && pwd)"
build=${CDSETUP_BUILD:-$here/../build/win32}

# Assembled beside OUT, so the copy into OUT stays on one file system.
mkdir -p "$(dirname "$out")"
folder=$(mktemp -d "$out.sample.XXXXXX")
trap 'rm -rf "$folder"' EXIT
cp -r "$here/../examples/cd/." "$folder/"
if [ -f "$build/clips/d.avi" ] && [ -f "$build/bin/launcher.exe" ]; then
  cp "$build/clips/d.avi" "$folder/d.avi"
fi
mkdir -p "$folder/DATA/MOVIE" "$folder/DATA/SOUND"
head -c $((large_mb * 1024 * 1024)) /dev/urandom >"$folder/DATA/MOVIE/OPENING.DAT"
head -c $((large_mb * 512 * 1024)) /dev/urandom >"$folder/DATA/SOUND/BGM01.DAT"

CDSETUP_BUILD=$build bash "$here/make-cd.sh" "$folder" "$out" "${flags[@]}"
