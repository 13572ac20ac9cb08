#!/usr/bin/env bash
# Fails when a file of the installer includes a header of a room above its own, and when a folder
# below setup/ belongs to no room. The rooms, from the top: the program (start-up, entry point);
# the windows; the app; the install and uninstall steps, side by side; the script layer; the seam
# (setup/platform/platform.h), which the simulated machine and the Win32 layer implement, each
# standing on the seam alone. The windows and the program are Windows' own and may use the Win32
# layer beneath them.
# Usage: check_layers.sh SOURCE_DIR
set -uo pipefail
cd "$1" || exit 2

# The folders (below setup/) whose headers a folder's files may include besides their own.
allowed_for() {
  case $1 in
    program) echo "windows app install uninstall script platform/platform.h platform/win32" ;;
    windows) echo "app install uninstall script platform/platform.h platform/win32" ;;
    app) echo "install uninstall script platform/platform.h" ;;
    install | uninstall) echo "script platform/platform.h" ;;
    script | platform/sim | platform/win32) echo "platform/platform.h" ;;
    platform | resources) echo "" ;;
    *) return 1 ;;
  esac
}

status=0
checked=0
while IFS= read -r folder; do
  if ! rules=$(allowed_for "$folder"); then
    echo "FAILED: setup/$folder belongs to no room; give it one in $0"
    status=1
    continue
  fi
  allowed="setup/$folder/ $(sed 's|\([^ ][^ ]*\)|setup/\1|g' <<<"$rules")"
  while IFS=: read -r file header; do
    checked=$((checked + 1))
    # Headers outside setup/ (the launcher, tests) are none of the installer's rooms.
    case $header in setup/*) ;; *) continue ;; esac
    ok=0
    for prefix in $allowed; do
      # A room's own folder covers its files, not the folders below it.
      case $header in "$prefix"*) [ "$prefix" != "setup/$folder/" ] || [[ ${header#"$prefix"} != */* ]] && ok=1 ;; esac
    done
    if [ $ok -eq 0 ]; then
      echo "FAILED: $file includes $header, above or beside the $folder room"
      status=1
    fi
  done < <(find "setup/$folder" -maxdepth 1 -type f \( -name '*.h' -o -name '*.cpp' \) -exec grep -H '^#include "' {} + |
    sed 's/^\([^:]*\):#include "\([^"]*\)".*/\1:\2/')
done < <(cd setup && find . -mindepth 1 -type d | sed 's|^\./||' | sort)
echo "$checked includes checked"
exit $status
