#!/usr/bin/env bash
# The release archive, for a circle that has only Windows: made twice, it is the same bytes; it
# holds the programs (the launcher already named setupx.exe), the AUTORUN.INF to start from, the
# Japanese walk-through and the sample CD ready to burn, in which setupcheck.exe itself, run under
# Wine in a Japanese locale, finds nothing.
source "$(dirname "$0")/lib.sh"

e2e_begin release
name=cdsetup-$(head -n1 "$E2E_SOURCE_DIR/VERSION")
dist() { bash "$E2E_SOURCE_DIR/scripts/make-dist.sh" "$E2E_BIN_DIR/.." "$WORK/$1" >"$WORK/$1.txt" 2>&1; }
made_twice_alike() {
  dist first && dist second && cmp "$WORK/first/$name.zip" "$WORK/second/$name.zip" &&
    python3 -m zipfile -e "$WORK/first/$name.zip" "$WORK/unpacked"
}
check "make-dist.sh makes the same archive twice" made_twice_alike

release="$WORK/unpacked/$name"
holds_what_windows_needs() {
  local file
  for file in setup.exe setupx.exe setupcheck.exe AUTORUN.INF docs/windows-walkthrough.ja.md \
    docs/script-reference.ja.md examples/cd/setup.ini examples/cd/setup.exe examples/cd/setupx.exe \
    examples/cd/d.avi examples/cd/AUTORUN.INF examples/cd/DATA/MOVIE/OPENING.DAT; do
    [ -s "$release/$file" ] || { echo "  no $file"; return 1; }
  done
  [ ! -e "$release/launcher.exe" ] && cmp "$release/setupx.exe" "$E2E_BIN_DIR/launcher.exe" &&
    (cd "$release" && sha256sum --quiet -c SHA256SUMS)
}
check "the archive holds the programs, setupx.exe among them, the walk-through and the sample CD" holds_what_windows_needs
# The template starts the launcher, as the sample CD's own AUTORUN.INF does; its comments stand
# before the section, where Windows does not read.
autorun_template() {
  diff <(iconv -f CP932 -t UTF-8 "$release/AUTORUN.INF" | sed -n '/^\[autorun\]/,$p') \
    <(iconv -f CP932 -t UTF-8 "$release/examples/cd/AUTORUN.INF")
}
check "the AUTORUN.INF template is the sample CD's, with its explanation before the section" autorun_template
sample_passes_setupcheck() {
  run_wine "$release/setupcheck.exe" "$(wine_path "$release/examples/cd")" >"$WORK/sample-check.txt" 2>&1 ||
    { cat "$WORK/sample-check.txt"; return 1; }
}
check "setupcheck.exe finds nothing in the sample CD" sample_passes_setupcheck

e2e_finish
