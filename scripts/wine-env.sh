# Wine harness for the end-to-end tests and the demo: sourced by bash scripts, never run.
#
# Everything here runs Windows programs in prefixes of our own, on an Xvfb display of our own,
# with timeouts, so that tests never share state and nothing can hang a build. By default they
# are 64-bit programs run with /usr/lib/wine/wine64 (the only kind this kernel executes itself);
# WINE_ARCH=win32 runs i686 programs instead (see below).
#
# Stable functions (other scenario scripts rely on them):
#   start_xvfb                 start a private Xvfb; exports DISPLAY, sets XVFB_PID
#   stop_xvfb                  kill that Xvfb
#   make_template_prefix DIR   build a ready prefix of $WINE_ARCH in DIR once (later calls return
#                              at once); use one DIR per architecture
#   new_prefix DIR [TEMPLATE]  copy the template to DIR and export WINEPREFIX=DIR (the template
#                              must be of $WINE_ARCH)
#   wine_start                 start $WINEPREFIX's wineserver and services, kept running until
#                              kill_wine, detached from our output (see below)
#   run_wine PROGRAM ARGS...   run a Windows program in $WINEPREFIX (timeout $WINE_TIMEOUT s,
#                              scaled by $WINE_SLOWDOWN)
#   wine_reg ARGS...           run reg.exe in $WINEPREFIX (reg add/query/export/delete)
#   reg_export KEY             print the key as .reg text in UTF-8 without carriage returns
#                              (nothing when it is absent)
#   declare_drive L TYPE DIR   map drive letter L to folder DIR as TYPE (hd, cdrom, network,
#                              floppy); restarts the session (wine_start) so that it takes effect
#   wine_path UNIXPATH         print the Windows path (Z:\...) of a Unix path
#   prefix_programs_dir        print the Unix path of the Start menu's Programs folder
#   prefix_c_dir               print the Unix path of drive C:
#   screenshot FILE.png        save the whole Xvfb screen as PNG
#   bmp_to_png IN.bmp OUT.png  convert a screenshot that a Windows program wrote
#   wait_wine                  wait until the prefix's wineserver has ended (flushes .reg files;
#                              returns only once nothing runs, so not within a wine_start session)
#   kill_wine                  kill every Wine process of $WINEPREFIX
#   wine_teardown              kill_wine + stop_xvfb; safe to call more than once (use in traps)
#   wine_scaled SECONDS        print SECONDS scaled by $WINE_SLOWDOWN, for a script's own waits
#
# Wine starts its server and services from the first program run in a prefix, and they inherit
# that program's output. A pipe read by a test runner or by $(...) then stays open until the
# server ends. wine_start starts them first with their output sent nowhere, and keeps the server
# running, so programs run afterwards (run_wine) leave nothing behind on our pipes.
#
# Settings (environment, all optional; read when this file is sourced):
#   WINE_ARCH      win64 (default) or win32. win32 runs the i686 build with the 32-bit Wine that
#                  scripts/install-wine32.sh puts in a private root, emulated by qemu-i386; every
#                  program started in such a prefix must be i686, and its prefix a win32 one.
#   WINE_SLOWDOWN  factor applied to every wait here (default 1 for win64, 4 for win32);
#                  scenario scripts should scale their own waits by it too
#   WINE_TIMEOUT   seconds a single run_wine may take at native speed (default 120; the wait is
#                  WINE_TIMEOUT * WINE_SLOWDOWN)
#   WINE_LANG      locale the programs see; ja_JP.UTF-8 gives code page 932 (default)
#   WINE32_ROOT    the private i386 root (default /opt/cdsetup-wine32/root)

WINE64=${WINE64:-/usr/lib/wine/wine64}
WINESERVER64=${WINESERVER64:-/usr/lib/wine/wineserver64}
WINE_ARCH=${WINE_ARCH:-win64}
WINE32_ROOT=${WINE32_ROOT:-/opt/cdsetup-wine32/root}
case $WINE_ARCH in
  win64)
    WINE_LOADER=$WINE64
    WINE_SLOWDOWN=${WINE_SLOWDOWN:-1}
    ;;
  win32)
    WINE_LOADER=$WINE32_ROOT/usr/lib/wine/wine
    # qemu translates every i386 instruction, Wine's own start-up of each process included.
    WINE_SLOWDOWN=${WINE_SLOWDOWN:-4}
    ;;
  *)
    echo "[wine-env] WINE_ARCH must be win64 or win32, not '$WINE_ARCH'" >&2
    return 1
    ;;
esac
WINE_TIMEOUT=${WINE_TIMEOUT:-120}
WINE_LANG=${WINE_LANG:-ja_JP.UTF-8}
# Bumped whenever make_template_prefix changes what it puts into a template.
WINE_TEMPLATE_VERSION=3

# The face names the programs' layouts ask for, mapped to the IPA font that ships with Debian.
WINE_FONT_FACES=("ＭＳ Ｐゴシック" "ＭＳ ゴシック" "MS PGothic" "MS Gothic" "MS UI Gothic")
WINE_FONT_REPLACEMENT=IPAPGothic

_wine_log() { echo "[wine-env] $*" >&2; }

# Runs a command with the prefix's environment. Mono and Gecko prompts and desktop menu
# entries are switched off: each would either stall a headless run or write outside the prefix.
#
# For win32 the i386 loader runs under qemu-i386 (through binfmt_misc), which finds the i386
# libraries under QEMU_LD_PREFIX. Left alone, the loader would start the i386 wineserver beside
# it, emulated as well; the system's 64-bit server serves 32-bit clients too, runs natively, and
# is the one that wait_wine and kill_wine talk to.
_wine_exec() {
  local arch_env=()
  if [ "$WINE_ARCH" = win32 ]; then
    arch_env=(QEMU_LD_PREFIX="$WINE32_ROOT" WINEARCH=win32 WINESERVER="$WINESERVER64")
  fi
  env WINEPREFIX="$WINEPREFIX" WINEDEBUG="${WINEDEBUG:--all}" \
    WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d" \
    LANG="$WINE_LANG" LC_ALL="$WINE_LANG" "${arch_env[@]}" "$@"
}

# Seconds for a wait that takes $1 s at native speed (fractions allowed, as timeout takes them).
wine_scaled() {
  if [ "$WINE_SLOWDOWN" = 1 ]; then
    echo "$1"
  else
    awk -v s="$1" -v f="$WINE_SLOWDOWN" 'BEGIN { printf "%.10g\n", s * f }'
  fi
}

# The i386 handler is registered in the running kernel only, so a reboot loses it.
_wine_arch_ready() {
  [ "$WINE_ARCH" = win32 ] || return 0
  if [ ! -x "$WINE_LOADER" ] || ! grep -qx enabled /proc/sys/fs/binfmt_misc/cdsetup-i386 2>/dev/null; then
    _wine_log "32-bit Wine is not set up (run scripts/install-wine32.sh as root)"
    return 1
  fi
}

start_xvfb() {
  local fdfile
  fdfile=$(mktemp)
  # -displayfd picks a free display number itself, so parallel tests never collide.
  Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp -nolisten unix 9>"$fdfile" >/dev/null 2>&1 &
  XVFB_PID=$!
  local tries=0
  while [ ! -s "$fdfile" ]; do
    tries=$((tries + 1))
    if [ $tries -gt 200 ] || ! kill -0 "$XVFB_PID" 2>/dev/null; then
      _wine_log "Xvfb did not start"
      rm -f "$fdfile"
      return 1
    fi
    sleep 0.05
  done
  DISPLAY=":$(head -n1 "$fdfile")"
  export DISPLAY
  rm -f "$fdfile"
}

stop_xvfb() {
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
  fi
}

run_wine() {
  _wine_arch_ready || return 1
  _wine_exec timeout --kill-after=5 "$(wine_scaled "$WINE_TIMEOUT")" "$WINE_LOADER" "$@"
}

wine_reg() {
  run_wine reg "$@"
}

reg_export() {
  local file="$WINEPREFIX/drive_c/harness-export.reg"
  rm -f "$file"
  wine_reg export "$1" 'C:\harness-export.reg' /y >/dev/null 2>&1 || return 0
  iconv -f UTF-16 -t UTF-8 "$file" | tr -d '\r'
  rm -f "$file"
}

wine_start() {
  _wine_exec "$WINESERVER64" -p </dev/null >/dev/null 2>&1
  run_wine wineboot </dev/null >/dev/null 2>&1
}

wait_wine() {
  _wine_exec timeout --kill-after=5 "$(wine_scaled 60)" "$WINESERVER64" -w
}

kill_wine() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    _wine_exec "$WINESERVER64" -k >/dev/null 2>&1 || true
    _wine_exec timeout "$(wine_scaled 20)" "$WINESERVER64" -w >/dev/null 2>&1 || true
  fi
}

wine_teardown() {
  kill_wine
  stop_xvfb
}

wine_path() {
  local path
  path=$(realpath -m "$1")
  printf 'Z:%s\n' "${path//\//\\}"
}

prefix_c_dir() {
  printf '%s/drive_c\n' "$WINEPREFIX"
}

prefix_programs_dir() {
  printf '%s/drive_c/users/%s/AppData/Roaming/Microsoft/Windows/Start Menu/Programs\n' \
    "$WINEPREFIX" "$(id -un)"
}

declare_drive() {
  local letter=${1,,} type=$2 folder=$3
  ln -sfn "$(realpath "$folder")" "$WINEPREFIX/dosdevices/$letter:"
  wine_reg add 'HKLM\Software\Wine\Drives' /v "$letter:" /t REG_SZ /d "$type" /f </dev/null >/dev/null 2>&1
  # The mount manager reads the drive types only when it starts.
  kill_wine
  wine_start
}

# Writes a UTF-16LE .reg file and imports it: regedit keeps the Japanese face names intact
# whatever code page the importing process runs under.
_wine_import_reg() {
  local text=$1 file="$WINEPREFIX/drive_c/harness-import.reg"
  printf '\xff\xfe' >"$file"
  printf '%s' "$text" | iconv -f UTF-8 -t UTF-16LE >>"$file"
  run_wine regedit /S 'C:\harness-import.reg'
  rm -f "$file"
}

_wine_template_settings() {
  local crlf=$'\r\n' face text
  text="Windows Registry Editor Version 5.00${crlf}${crlf}"
  # Without a window manager Wine waits about 2 s on every hide or destroy of a managed window.
  text+="[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]${crlf}\"Managed\"=\"N\"${crlf}${crlf}"
  text+="[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]${crlf}"
  for face in "${WINE_FONT_FACES[@]}"; do
    text+="\"$face\"=\"$WINE_FONT_REPLACEMENT\"${crlf}"
  done
  text+="${crlf}[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]${crlf}"
  for face in "${WINE_FONT_FACES[@]}"; do
    text+="\"$face\"=\"$WINE_FONT_REPLACEMENT\"${crlf}"
  done
  _wine_import_reg "$text${crlf}"
}

# What a template's stamp holds: the version, and the architecture unless it is win64 (so that
# the win64 templates made before there was a choice stay valid).
_wine_template_stamp() {
  if [ "$WINE_ARCH" = win64 ]; then echo "$WINE_TEMPLATE_VERSION"; else echo "$WINE_TEMPLATE_VERSION $WINE_ARCH"; fi
}

make_template_prefix() {
  local dir=$1 stamp="$1/.harness-template" want
  want=$(_wine_template_stamp)
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
    return 0
  fi
  mkdir -p "$(dirname "$dir")"
  # Two test processes may ask at the same moment: the second waits for the first.
  exec 8>"$dir.lock"
  flock 8
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
    exec 8>&-
    return 0
  fi
  _wine_arch_ready || { exec 8>&-; return 1; }
  _wine_log "making $WINE_ARCH template prefix $dir"
  local building="$dir.building" saved_prefix=${WINEPREFIX:-}
  rm -rf "$building" "$dir"
  mkdir -p "$building"
  export WINEPREFIX=$building
  local status=0
  {
    run_wine wineboot -i >/dev/null 2>&1 &&
      _wine_template_settings &&
      mkdir -p "$building/drive_c/windows/Fonts" &&
      cp /usr/share/wine/fonts/*.ttf "$building/drive_c/windows/Fonts/" &&
      wait_wine
  } || status=$?
  if [ $status -eq 0 ]; then
    echo "$want" >"$building/.harness-template"
    mv "$building" "$dir"
  else
    kill_wine
    _wine_log "template prefix failed (status $status)"
  fi
  if [ -n "$saved_prefix" ]; then export WINEPREFIX=$saved_prefix; else unset WINEPREFIX; fi
  exec 8>&-
  return $status
}

new_prefix() {
  local dir=$1 template=${2:-${WINE_TEMPLATE:-}}
  if [ -z "$template" ] || [ ! -f "$template/.harness-template" ]; then
    _wine_log "no template prefix at '${template}' (make_template_prefix first)"
    return 1
  fi
  # Wine itself refuses a prefix of the other architecture only once a program starts, in a
  # message that callers often send nowhere.
  local arch
  arch=$(awk '{ print $2 }' "$template/.harness-template")
  if [ "${arch:-win64}" != "$WINE_ARCH" ]; then
    _wine_log "template prefix '${template}' is ${arch:-win64}, not $WINE_ARCH"
    return 1
  fi
  rm -rf "$dir"
  mkdir -p "$(dirname "$dir")"
  cp -a "$template" "$dir"
  export WINEPREFIX=$dir
}

screenshot() {
  /usr/bin/import -display "$DISPLAY" -window root "$1"
}

bmp_to_png() {
  /usr/bin/convert "$1" "$2"
}
