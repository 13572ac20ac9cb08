#!/usr/bin/env bash
# Builds setup.exe a second time from a copy of the sources, in a fresh build tree under another
# path, and compares it byte for byte with the build tree's own: a release's programs must not
# depend on when or where they were built (no link time in the PE header, no absolute source or
# build paths), so anyone can rebuild them and check them against the release's SHA256SUMS.
#
# Usage: same_setup.sh SOURCE_DIR WORK_DIR REFERENCE_EXE TOOLCHAIN_FILE BUILD_TYPE GENERATOR
set -euo pipefail

[ $# -eq 6 ] || { echo "usage: same_setup.sh SOURCE_DIR WORK_DIR REFERENCE_EXE TOOLCHAIN_FILE BUILD_TYPE GENERATOR" >&2; exit 2; }
source_dir=$1 work=$2 reference=$3 toolchain=$4 build_type=$5 generator=$6

rm -rf "$work"
copy="$work/elsewhere/cdsetup-source"
mkdir -p "$copy"
# The sources alone: build trees (wherever they lie) and the repository's history stay behind.
tar -C "$source_dir" --exclude=./.git --exclude=./build --exclude-tag-all=CMakeCache.txt -cf - . | tar -C "$copy" -xf -
if [[ $toolchain == "$source_dir"/* ]]; then toolchain="$copy/${toolchain#"$source_dir"/}"; fi

cmake -S "$copy" -B "$work/elsewhere/second-build" -G "$generator" \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE="$build_type" >"$work/configure.log" 2>&1 ||
  { cat "$work/configure.log"; exit 1; }
cmake --build "$work/elsewhere/second-build" -j2 --target setup >"$work/build.log" 2>&1 ||
  { tail -50 "$work/build.log"; exit 1; }

second="$work/elsewhere/second-build/bin/setup.exe"
if cmp "$reference" "$second"; then
  echo "setup.exe is the same, byte for byte ($(stat -c %s "$second") bytes, sha256 $(sha256sum <"$second" | cut -c1-64))"
  rm -rf "$work"
else
  echo "setup.exe differs from $reference; the first differing bytes (offset, octal values):"
  cmp -l "$reference" "$second" | head -20
  exit 1
fi
