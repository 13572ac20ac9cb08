#!/usr/bin/env bash
# Makes a CD-ROM image folder from the sample in examples/cd: the committed files, the built
# setup.exe (and the launcher as setupx.exe with its movie d.avi, when those are built), and
# the large data files, which are generated here rather than committed. The image is made
# read-only, as files read from a pressed CD are.
#
# Usage: make-cd.sh OUT_DIR BUILD_DIR [LARGE_MB]
#   BUILD_DIR  a Windows build tree (build/win64): bin/setup.exe, bin/launcher.exe, clips/d.avi
#   LARGE_MB   size of MOVIE\OPENING.DAT in MB (default 24); SOUND\BGM01.DAT is half of it
set -euo pipefail

out=$1
build=$2
large_mb=${3:-24}
source_cd="$(cd "$(dirname "$0")/.." && pwd)/examples/cd"

if [ ! -f "$build/bin/setup.exe" ]; then
  echo "make-cd: $build/bin/setup.exe is missing (build the Windows preset first)" >&2
  exit 1
fi

if [ -e "$out" ]; then
  chmod -R u+w "$out"
  rm -rf "$out"
fi
mkdir -p "$out"
cp -r "$source_cd/." "$out/"
cp "$build/bin/setup.exe" "$out/setup.exe"
if [ -f "$build/bin/launcher.exe" ] && [ -f "$build/clips/d.avi" ]; then
  # The launcher starts the program named like itself without the last letter: setupx -> setup.
  cp "$build/bin/launcher.exe" "$out/setupx.exe"
  cp "$build/clips/d.avi" "$out/d.avi"
fi

mkdir -p "$out/DATA/MOVIE" "$out/DATA/SOUND"
head -c $((large_mb * 1024 * 1024)) /dev/urandom >"$out/DATA/MOVIE/OPENING.DAT"
head -c $((large_mb * 512 * 1024)) /dev/urandom >"$out/DATA/SOUND/BGM01.DAT"

chmod -R a-w "$out"
