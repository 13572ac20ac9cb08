#!/usr/bin/env bash
# Fails when a file of the installer includes a header of a layer above its own. The layers, from
# the bottom: the seam (setup/platform/platform.h); the script layer; the install and uninstall
# steps, side by side; the app. The simulated machine stands on the seam alone; the Win32 layer on
# the seam, and its entry point and windows on the app.
# Usage: check_layers.sh SOURCE_DIR
set -uo pipefail
cd "$1" || exit 2

# The folders each folder's files may include from (below setup/), besides its own.
allowed_for() {
  case $1 in
    script) echo "platform/platform.h" ;;
    install | uninstall) echo "platform/platform.h script" ;;
    app) echo "platform/platform.h script install uninstall" ;;
    platform/sim) echo "platform/platform.h" ;;
    platform/win32) echo "platform/platform.h app" ;;
  esac
}

status=0
checked=0
for folder in script install uninstall app platform/sim platform/win32; do
  allowed="setup/$folder/ $(allowed_for "$folder" | sed 's|\([^ ]*\)|setup/\1|g')"
  while IFS=: read -r file line; do
    header=$(sed -n 's/^#include "\(.*\)".*/\1/p' <<<"$line")
    checked=$((checked + 1))
    ok=0
    for prefix in $allowed; do
      case $header in "$prefix"*) ok=1 ;; esac
    done
    # Headers outside setup/ (the launcher, tests) are none of the installer's layers.
    case $header in setup/*) ;; *) ok=1 ;; esac
    if [ $ok -eq 0 ]; then
      echo "FAILED: $file includes $header, above or beside the $folder layer"
      status=1
    fi
  done < <(grep -H '^#include "' "setup/$folder"/*.h "setup/$folder"/*.cpp 2>/dev/null | sed 's/^\([^:]*\):/\1:/')
done
echo "$checked includes checked"
exit $status
