#!/usr/bin/env bash
# Packs the release archive OUT_DIR/cdsetup-<version>.zip from an i686 build tree, for a circle
# that has only Windows: setup.exe, the launcher already named setupx.exe, setupcheck.exe, an
# AUTORUN.INF to start from, the sample CD examples/cd ready to burn (made by make-sample-cd.sh,
# with its data, movie and programs; setupcheck must find nothing in it), the Japanese
# walk-through docs/windows-walkthrough.ja.md, the script reference (docs/script-reference.ja.md
# and .en.md), LICENSE, CHANGELOG.md and SHA256SUMS of all of them, below one folder
# cdsetup-<version>/. The archive is the same bytes on every run
# from the same commit and programs: every entry has the time of the last commit
# (SOURCE_DATE_EPOCH, when set, instead), plain permissions and no extra fields, in sorted order.
#
# Usage: make-dist.sh BUILD_DIR OUT_DIR   (make dist: build/win32 build/dist)
# Environment: SETUPCHECK, the host's setupcheck (default build/host/bin/setupcheck)
set -euo pipefail

[ $# -eq 2 ] || { echo "usage: make-dist.sh BUILD_DIR OUT_DIR" >&2; exit 2; }
build=$1
out=$2
repo="$(cd "$(dirname "$0")/.." && pwd)"
export LC_ALL=C TZ=UTC

fail() {
  echo "make-dist: $*" >&2
  exit 1
}

version=$(head -n1 "$repo/VERSION")
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "VERSION holds '$version', not MAJOR.MINOR.PATCH"
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$repo" log -1 --format=%ct 2>/dev/null || true)}
[[ $epoch =~ ^[0-9]+$ ]] || fail "no commit to take the files' time from: set SOURCE_DATE_EPOCH"
for program in setup launcher setupcheck; do
  [ -f "$build/bin/$program.exe" ] || fail "$build/bin/$program.exe is not built"
done
[ -f "$build/clips/d.avi" ] || fail "$build/clips/d.avi, the sample's movie, is not built"
setupcheck=${SETUPCHECK:-$repo/build/host/bin/setupcheck}
[ -x "$setupcheck" ] || fail "$setupcheck is not built (make host, or set SETUPCHECK)"
command -v zip >/dev/null || fail "zip is missing (scripts/install-deps.sh installs it)"

name="cdsetup-$version"
stage="$out/$name"
rm -rf "$stage" "$out/$name.zip"
mkdir -p "$stage/examples" "$stage/docs"
cp "$build/bin/setup.exe" "$build/bin/setupcheck.exe" "$stage/"
cp "$build/bin/launcher.exe" "$stage/setupx.exe"
# Read in the system's code page, Shift-JIS on a Japanese Windows; lines before the section are
# not read, so they can explain it.
printf '%s\r\n' '; CD のいちばん上に置くと、CD を入れたとき Windows が open= のプログラムを起動します。' \
  '; 動画 d.avi のない CD では open=setup.exe にします。label= は CD の名前です (16 文字まで)。' \
  '[autorun]' 'open=setupx.exe' 'icon=setup.exe' 'label=サンプルゲーム' | iconv -f UTF-8 -t CP932 >"$stage/AUTORUN.INF"
SETUPCHECK=$setupcheck CDSETUP_BUILD=$build bash "$repo/scripts/make-sample-cd.sh" "$stage/examples/cd" 1 \
  --fixed-data --label サンプルゲーム >/dev/null || fail "the sample CD could not be made"
chmod -R u+w "$stage/examples/cd"
findings=$("$setupcheck" "$stage/examples/cd" 2>&1) || fail "setupcheck finds something in the sample CD:
$findings"
for doc in windows-walkthrough.ja.md script-reference.ja.md script-reference.en.md; do
  cp "$repo/docs/$doc" "$stage/docs/"
done
cp "$repo/LICENSE" "$repo/CHANGELOG.md" "$stage/"

# Written outside the folder first, so the list never meets itself.
(cd "$stage" && find . -type f | sed 's|^\./||' | sort | xargs -d '\n' sha256sum) >"$out/SHA256SUMS.part"
mv "$out/SHA256SUMS.part" "$stage/SHA256SUMS"

find "$stage" -type d -exec chmod 755 {} +
find "$stage" -type f -exec chmod 644 {} +
chmod 755 "$stage"/*.exe
find "$stage" -exec touch -h -d "@$epoch" {} +
# -X leaves out the extra fields (Unix times, owner ids); -D the folder entries, so the archive
# holds exactly the sorted files. The times are stored as UTC local times (TZ above).
(cd "$out" && find "$name" -type f | sort | zip -X -D -q "$name.zip" -@)

echo "make-dist: $out/$name.zip"
sed 's/^/  /' "$stage/SHA256SUMS"
echo "  $(sha256sum "$out/$name.zip" | cut -c1-64)  $name.zip"
