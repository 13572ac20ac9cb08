#!/usr/bin/env bash
# Tries a publisher's CD folder under Wine, headless, in a Japanese locale, before it is pressed:
# the folder becomes a CD (make-cd.sh) mounted as drive D: of type CD-ROM, the installer (or the
# opening launcher, when the folder has d.avi) starts from it, the script's default folder is
# taken as it stands (Start is pressed without typing) and the create-folder question answered
# Yes. What was installed must be what setupcheck's plan for the CD says, file for file (with the
# same bytes), shortcut for shortcut, key for key and value for value; a message box that the
# round trip does not expect (an error) stops the run at once, with its text. The uninstall
# entry's command line is then read from the registry and run, and the uninstallation must
# remove every file and registry key that the uninstall record listed. A PNG screenshot of each
# window reached goes to OUT.
#
# Usage: try-cd.sh FOLDER [OUT]
#   FOLDER  the publisher's folder, setup.ini (Shift-JIS, CR LF) at its top, as for make-cd.sh
#   OUT     where the screenshots go (default build/try-cd); OUT/work keeps the CD, the Wine
#           prefix, the scenarios, plan.txt and plan-differences.txt (setupcheck's plan and how
#           the installation differed from it) and removal.txt, what the record listed and what
#           became of it
# Environment:
#   WINE_ARCH      win32 (the i686 product, through the 32-bit Wine of scripts/install-wine32.sh)
#                  or win64 (the x86_64 build); by default the kind of CDSETUP_BUILD, else win32
#   CDSETUP_BUILD  the build tree (bin/setup.exe, bin/e2e_driver.exe; default build/$WINE_ARCH);
#                  refused when its programs are not of the WINE_ARCH kind
#   SETUPCHECK     the setupcheck that makes the plan (default build/host/bin/setupcheck)
# Exit status 0 when the whole round trip ran and removed what was recorded; 1 naming the step
# that failed, with a screenshot of the screen at that moment; 2 for bad usage.
set -euo pipefail

usage() {
  echo "usage: try-cd.sh FOLDER [OUT]   (WINE_ARCH=win32 tries the i686 build)" >&2
  exit 2
}
[ $# -ge 1 ] && [ $# -le 2 ] || usage
case $1 in -*) usage ;; esac
[ -d "$1" ] || { echo "try-cd: no folder '$1'" >&2; usage; }

here="$(cd "$(dirname "$0")" && pwd)"
repo="$(cd "$here/.." && pwd)"
folder=$(realpath "$1")
out=$(realpath -m "${2:-$repo/build/try-cd}")

# pe_kind FILE: win32 for an i686 program, win64 for an x86_64 one (the PE header's machine field).
pe_kind() {
  local header
  header=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ') && [ -n "$header" ] || return 0
  case $(od -An -tx2 -j$((header + 4)) -N2 "$1" 2>/dev/null | tr -d ' ') in
    014c) echo win32 ;;
    8664) echo win64 ;;
  esac
}

# The build and the Wine must be of one kind: a prefix of the other kind cannot run the programs,
# and the build tree's Wine template, made once, would be made of the wrong kind for good.
if [ -z "${WINE_ARCH:-}" ] && [ -n "${CDSETUP_BUILD:-}" ]; then WINE_ARCH=$(pe_kind "$CDSETUP_BUILD/bin/setup.exe"); fi
WINE_ARCH=${WINE_ARCH:-win32}
build=$(realpath -m "${CDSETUP_BUILD:-$repo/build/$WINE_ARCH}")
setupcheck=${SETUPCHECK:-$repo/build/host/bin/setupcheck}
case $WINE_ARCH in win32 | win64) ;; *)
  echo "try-cd: WINE_ARCH is win32 or win64, not '$WINE_ARCH'" >&2
  exit 2
  ;;
esac
for program in setup.exe e2e_driver.exe; do
  [ -f "$build/bin/$program" ] || {
    echo "try-cd: $build has no bin/$program (build it: make $WINE_ARCH, or set CDSETUP_BUILD)" >&2
    exit 1
  }
  kind=$(pe_kind "$build/bin/$program")
  [ "$kind" = "$WINE_ARCH" ] || {
    echo "try-cd: $build/bin/$program is ${kind:-no Windows program}, not $WINE_ARCH: set WINE_ARCH to the build's kind or CDSETUP_BUILD to a $WINE_ARCH build" >&2
    exit 1
  }
done
[ -x "$setupcheck" ] || { echo "try-cd: $setupcheck is not built (make host, or set SETUPCHECK)" >&2; exit 1; }
if [ "$WINE_ARCH" = win32 ] && ! bash "$here/install-wine32.sh" --check >/dev/null 2>&1; then
  echo "try-cd: the 32-bit Wine is not set up: run scripts/install-wine32.sh as root (or WINE_ARCH=win64 with the x86_64 build)" >&2
  exit 1
fi
# The tools below parse bytes and ASCII keywords (setupcheck's plan included, in English); Wine
# itself gets its own locale (wine-env.sh), and make-cd's findings are printed in the user's.
user_lc_all=${LC_ALL:-}
export LC_ALL=C
source "$here/wine-env.sh"
source "$here/plan-compare.sh"

work="$out/work"
shots="$work/shots"
step="checking the build"
shots_taken=0

# Pictures the driver took, as PNG in OUT.
collect_shots() {
  local bmp
  for bmp in "$shots"/*.bmp; do
    [ -e "$bmp" ] || continue
    bmp_to_png "$bmp" "$out/$(basename "${bmp%.bmp}").png" && rm -f "$bmp"
  done
}

stopped() {
  echo "try-cd: FAILED at $step${1:+: $1}" >&2
  if [ "$shots_taken" = 1 ]; then
    screenshot "$out/99-stopped-here.png" || true
    collect_shots || true
  fi
  exit 1
}

# --- The script's settings. setup.ini is Shift-JIS; decoded to UTF-8 first, "\" is always a
# separator (in Shift-JIS it can be the second byte of a character).
step="reading setup.ini"
ini=$(find "$folder" -mindepth 1 -maxdepth 1 -type f -iname setup.ini -print -quit)
[ -n "$ini" ] || stopped "no setup.ini at the top of $folder"

# ini_setup: KEY<TAB>VALUE for each entry of the [SETUP] section of the decoded text on standard
# input, read as the installer reads it: lines split at CR and LF, trimmed of blanks and control
# characters, keys in any letter case (printed in capitals), the last [SETUP] section and the
# last of equal keys winning.
ini_setup() {
  tr '\r' '\n' | awk '
    function trim(s) { gsub(/^[[:cntrl:] ]+|[[:cntrl:] ]+$/, "", s); return s }
    { line = trim($0) }
    line == "" || substr(line, 1, 1) == ";" { next }
    line ~ /^\[.*\]$/ {
      in_setup = toupper(trim(substr(line, 2, length(line) - 2))) == "SETUP"
      if (in_setup) { split("", value); split("", order); count = 0 }
      next
    }
    in_setup && index(line, "=") > 0 {
      at = index(line, "=")
      key = toupper(trim(substr(line, 1, at - 1)))
      if (!(key in value)) order[++count] = key
      value[key] = trim(substr(line, at + 1))
    }
    END { for (i = 1; i <= count; i++) print order[i] "\t" value[order[i]] }'
}

text=$(iconv -f CP932 -t UTF-8 "$ini") || stopped "setup.ini is not Shift-JIS text"
declare -A script=()
while IFS=$'\t' read -r key value; do script[$key]=$value; done < <(ini_setup <<<"$text")
title=${script[TITLE]:-}
[ -n "$title" ] || stopped "setup.ini has no TITLE (the windows and the uninstall entry are named after it)"

# The default folder as the installer shows it: "#" is the Windows drive, "@" the CD's drive,
# "^" the Windows folder, "$" the still empty destination. "~" (the destination's short name)
# cannot be worked out here, so such a folder is not compared with the folder box.
windows_dir='C:\windows'
dir_setting=${script[DIR]:-}
default_dir=""
for ((i = 0; i < ${#dir_setting}; i++)); do
  c=${dir_setting:i:1}
  case $c in
    '#') default_dir+=C ;;
    '@') default_dir+=D ;;
    '^') default_dir+=$windows_dir ;;
    '$') ;;
    *) default_dir+=$c ;;
  esac
done
echo "try-cd: $title, default folder '$default_dir', $WINE_ARCH build $build"

# --- The CD, the prefix and the display.
step="making the CD"
if [ -e "$out" ]; then
  [ -d "$work" ] && chmod -R u+w "$work"
  rm -rf "$work" "$out"/*.png
fi
mkdir -p "$shots"
LC_ALL=$user_lc_all CDSETUP_BUILD=$build bash "$here/make-cd.sh" "$folder" "$work/cd" || stopped

step="starting Wine"
# A template of the other kind, left by an older try-cd run with mismatched settings, is made anew.
template_arch=$(sed -n 's/^#arch=//p' "$build/wine-template/system.reg" 2>/dev/null || true)
if [ -n "$template_arch" ] && [ "$template_arch" != "$WINE_ARCH" ]; then
  echo "try-cd: $build/wine-template is a $template_arch prefix: made anew as $WINE_ARCH"
  rm -rf "$build/wine-template"
fi
make_template_prefix "$build/wine-template" || stopped
new_prefix "$work/prefix" "$build/wine-template" || stopped
trap wine_teardown EXIT
start_xvfb || stopped
shots_taken=1
wine_start || true
declare_drive d cdrom "$work/cd" || stopped

driver() {
  run_wine "$build/bin/e2e_driver.exe" "$@" SHOTS="$(wine_path "$shots")" TITLE="$title" DEST="$default_dir"
}

# unix_path WINDOWS_PATH: the file's Unix path in the prefix. Names are matched without regard to
# letter case, as Windows matches them; "/" separates as "\" does.
unix_path() {
  local path=${1//\//\\} current part found pattern
  [[ $path =~ ^([A-Za-z]):(.*)$ ]] || return 1
  current="$WINEPREFIX/dosdevices/${BASH_REMATCH[1],,}:"
  local -a parts
  IFS='\' read -r -a parts <<<"${BASH_REMATCH[2]}"
  for part in "${parts[@]}"; do
    [ -n "$part" ] || continue
    if [ ! -e "$current/$part" ]; then
      pattern=$(printf '%s' "$part" | sed 's/[][*?\\]/\\&/g')
      found=$(find "$current/" -mindepth 1 -maxdepth 1 -iname "$pattern" -print -quit 2>/dev/null || true)
      [ -n "$found" ] && part=$(basename "$found")
    fi
    current="$current/$part"
  done
  printf '%s\n' "$current"
}

# --- What setupcheck says the CD installs into its default folder, with the simulated machine's
# folders made Wine's, and the machine before the installation.
step="making setupcheck's plan"
plan="$work/plan.txt"
"$setupcheck" --plan "" "$work/cd" >"$work/plan-and-findings.txt" 2>&1 || [ $? -eq 1 ] ||
  stopped "setupcheck finds errors in the CD (see $work/plan-and-findings.txt)"
plan_normalize <"$work/plan-and-findings.txt" | plan_entries >"$plan"
plan_snapshot "$work/before"

# --- The installation, through the windows a user meets.
step="the installation"
scaled() { wine_scaled "$1" | cut -d. -f1; }
scenario="$work/install.txt"
echo watch-boxes >"$scenario"
if [ -f "$work/cd/setupx.exe" ]; then
  cat >>"$scenario" <<EOF
# The opening movie plays; then the launcher starts setup.exe.
timeout $(scaled 30)
start D:\\setupx.exe
EOF
  cat >>"$scenario" <<'EOF'
window movie ケルヴォー *
sleep 800
screenshot ${SHOTS}\01-opening-movie.bmp
follow setup.exe
EOF
else
  echo 'start D:\setup.exe' >>"$scenario"
fi
echo "timeout $(scaled 60)" >>"$scenario"
cat >>"$scenario" <<'EOF'
window main SetupMessageForm "${TITLE} セットアップ"
window back SetupBackForm "${TITLE} セットアップ"
EOF
case $dir_setting in *'~'*) ;; *) echo 'text main Edit ${DEST}' >>"$scenario" ;; esac
cat >>"$scenario" <<'EOF'
sleep 500
screenshot ${SHOTS}\02-main-dialog.bmp
click main 開始
EOF
default_unix=""
[ -n "$default_dir" ] && default_unix=$(unix_path "$default_dir" || true)
if [ -z "$default_unix" ] || [ ! -d "$default_unix" ]; then
  cat >>"$scenario" <<'EOF'
box create 確認 フォルダが存在しません${CRLF}フォルダを作成しますか？ はい(&Y) いいえ(&N)
sleep 300
screenshot ${SHOTS}\03-create-folder.bmp
click create はい(&Y)
EOF
fi
# The progress window of a small CD is up for a moment only: it is waited for (and photographed)
# only when there is enough to copy, and otherwise only required to have been shown.
cd_megabytes=$(($(du -sb "$work/cd" | cut -f1) / 1048576))
if [ "$cd_megabytes" -ge 100 ]; then
  cat >>"$scenario" <<'EOF'
window copy SetupCopyForm ファイルのコピー
sleep 300
screenshot ${SHOTS}\04-copy-progress.bmp
EOF
else
  echo "try-cd: $cd_megabytes MB to copy: the copy progress is checked but too brief to photograph"
  echo 'shown SetupCopyForm ファイルのコピー' >>"$scenario"
fi
cat >>"$scenario" <<'EOF'
window done SetupShowForm インストール
has done Static インストールが終了しました
sleep 300
screenshot ${SHOTS}\05-install-finished.bmp
click done OK
exit 0
EOF
plan_link_checks "$plan" >>"$scenario"
echo "--- installation"
driver "$(wine_path "$scenario")" || stopped

step="comparing the installation with setupcheck's plan"
plan_compare "$plan" "$work/before" >"$work/plan-differences.txt" || {
  cat "$work/plan-differences.txt"
  stopped "what was installed is not what setupcheck's plan says (see $work/plan.txt)"
}
echo "the installation is setupcheck's plan: $(grep -c '^copy' "$plan") file(s) copied, $(grep -c '^link' "$plan") shortcut(s), $(grep -c '^value' "$plan") value(s) in $(grep -c '^key' "$plan") key(s)"

# --- The uninstall entry, as the system's list of installed programs reads it. reg writes its
# answer in the console code page (932 here), so it is decoded before it is used: a Japanese
# folder in the command line would otherwise reach the uninstaller broken.
step="reading the uninstall entry"
uninstall_key="HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$title"
uninstall=$(wine_reg query "$uninstall_key" /v UninstallString 2>/dev/null | iconv -f CP932 -t UTF-8 |
  tr -d '\r' | sed -n 's/^ *UninstallString *REG_SZ *//p') || true
[ -n "$uninstall" ] || stopped "no UninstallString in $uninstall_key"
echo "uninstall entry: $uninstall"

# --- What the uninstall record lists: COPY entries are files, REG entries "root\key".
step="reading the uninstall record"
[[ $uninstall =~ \"([^\"]+)\" ]] || stopped "the command line names no record in quotes"
record_path=${BASH_REMATCH[1]}
record=$(unix_path "$record_path") && [ -f "$record" ] || stopped "no record file $record_path"
text=$(iconv -f CP932 -t UTF-8 "$record") || stopped "the record $record_path is not Shift-JIS text"
declare -A recorded=()
while IFS=$'\t' read -r key value; do recorded[$key]=$value; done < <(ini_setup <<<"$text")
listed_files=()
for ((i = 1; ; i++)); do
  [ -n "${recorded[COPY$i]:-}" ] || break
  listed_files+=("${recorded[COPY$i]}")
done
listed_keys=()
for ((i = 1; ; i++)); do
  [ -n "${recorded[REG$i]:-}" ] || break
  listed_keys+=("${recorded[REG$i]}")
done

# reg_key ENTRY: the key of a REG entry ("root\key path", the path ending at a comma) as reg.exe
# names it. The uninstaller reads the root name HKEY_LOCAL_MACHINE in any letter case as that
# root and every other name as HKEY_CURRENT_USER.
reg_key() {
  local root=${1%%\\*} path=${1#*\\}
  path=${path%%,*}
  path=${path#\\}
  if [ "${root^^}" = HKEY_LOCAL_MACHINE ]; then echo "HKLM\\$path"; else echo "HKCU\\$path"; fi
}
key_exists() { wine_reg query "$1" >/dev/null 2>&1; }

# Only what is there before the uninstallation can be asked to go: REMOVE entries name files the
# product would make later.
declare -A present_before=()
files_there=0
keys_there=0
for entry in "${listed_files[@]}"; do
  path=$(unix_path "$entry" || true)
  if [ -n "$path" ] && [ -f "$path" ]; then
    present_before[$entry]=1
    files_there=$((files_there + 1))
  fi
done
for entry in "${listed_keys[@]}"; do
  if [[ $entry == *\\?* ]] && key_exists "$(reg_key "$entry")"; then
    present_before[$entry]=1
    keys_there=$((keys_there + 1))
  fi
done
echo "the record lists ${#listed_files[@]} file(s), $files_there of them there, and ${#listed_keys[@]} key(s), $keys_there of them there"

step="the uninstallation"
scenario="$work/uninstall.txt"
cat >"$scenario" <<EOF
# The uninstaller, started with the uninstall entry's command line.
timeout $(scaled 60)
watch-boxes
EOF
cat >>"$scenario" <<'EOF'
cd C:\windows
start-line ${UNINSTALL}
window notice SetupShowForm アンインストール
has notice Static アンインストールが終了しました
sleep 300
screenshot ${SHOTS}\06-uninstall-finished.bmp
click notice OK
exit 0
EOF
echo "--- uninstallation"
driver "$(wine_path "$scenario")" UNINSTALL="$uninstall" || stopped

# --- Every listed file and key that was there must be gone, and so must the uninstall entry.
step="checking what the uninstallation removed"
report="$work/removal.txt"
: >"$report"
left=0
for entry in "${listed_files[@]}"; do
  if [ -z "${present_before[$entry]:-}" ]; then
    echo "absent file $entry" >>"$report"
  elif path=$(unix_path "$entry") && [ -e "$path" ]; then
    echo "KEPT file $entry" >>"$report"
    left=$((left + 1))
  else
    echo "removed file $entry" >>"$report"
  fi
done
for entry in "${listed_keys[@]}"; do
  if [ -z "${present_before[$entry]:-}" ]; then
    echo "absent key $entry" >>"$report"
  elif key_exists "$(reg_key "$entry")"; then
    echo "KEPT key $entry" >>"$report"
    left=$((left + 1))
  else
    echo "removed key $entry" >>"$report"
  fi
done
if key_exists "$uninstall_key"; then
  echo "KEPT the uninstall entry $uninstall_key" >>"$report"
  left=$((left + 1))
fi
if [ -f "$record" ]; then
  echo "KEPT the record $record_path" >>"$report"
  left=$((left + 1))
fi
collect_shots
cat "$report"
[ "$left" -eq 0 ] || stopped "$left recorded item(s) stayed (see $report)"

echo "try-cd: the whole round trip ran and the uninstallation removed what was recorded; screenshots:"
ls "$out"/*.png
