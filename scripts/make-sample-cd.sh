#!/usr/bin/env bash
# Makes the sample CD: the committed files of examples/cd plus what is not kept in the
# repository, namely the opening movie d.avi drawn by the build (when the launcher is built too)
# and the two large data files DATA\MOVIE\OPENING.DAT and DATA\SOUND\BGM01.DAT of random bytes.
# The assembled folder then goes through make-cd.sh like any publisher's folder.
#
# Usage: make-sample-cd.sh OUT [LARGE_MB] [--iso] [--fixed-data] [--label LABEL]
#   OUT           the CD folder to make (replaced when it exists); with --iso also OUT.iso
#   LARGE_MB      size of DATA\MOVIE\OPENING.DAT in MB (default 24); DATA\SOUND\BGM01.DAT is half
#   --fixed-data  the two data files repeat one line of text instead of random bytes, so that the
#                 folder is the same on every run (the release archive's sample)
#   --label       the volume label, as for make-cd.sh
# Environment: CDSETUP_BUILD, the build tree (default build/win32), as for make-cd.sh.
set -euo pipefail

usage() {
  echo "usage: make-sample-cd.sh OUT [LARGE_MB] [--iso] [--fixed-data] [--label LABEL]" >&2
  exit 2
}

flags=()
positional=()
fixed_data=0
while [ $# -gt 0 ]; do
  case $1 in
    --iso) flags+=(--iso) ;;
    --fixed-data) fixed_data=1 ;;
    --label)
      [ $# -ge 2 ] || usage
      flags+=(--label "$2")
      shift
      ;;
    -*) usage ;;
    *) positional+=("$1") ;;
  esac
  shift
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
# data_file FILE BYTES
data_file() {
  if [ $fixed_data -eq 1 ]; then
    (yes 'cdsetup sample data' || true) | head -c "$2" >"$1"
  else
    head -c "$2" /dev/urandom >"$1"
  fi
}
data_file "$folder/DATA/MOVIE/OPENING.DAT" $((large_mb * 1024 * 1024))
data_file "$folder/DATA/SOUND/BGM01.DAT" $((large_mb * 512 * 1024))

CDSETUP_BUILD=$build bash "$here/make-cd.sh" "$folder" "$out" "${flags[@]}"
