#!/usr/bin/env bash
# Compares the imports of the i686 programs with allowed_imports.txt: every imported function
# must be listed, as exported by Windows 95 (95) or as a Windows 9x stub that a named code path
# keeps the program off there (95-stub). Anything newer is to be looked up at run time.
# Usage: check_imports.sh OBJDUMP TABLE PROGRAM.exe...
set -uo pipefail
objdump=$1 table=$2
shift 2

status=0
for program in "$@"; do
  imports=$("$objdump" -p "$program" | awk '/DLL Name:/ { dll = toupper($3); sub(/\.DLL$/, "", dll) }
    /^\t[ 0-9a-f]+\t *[0-9]+ +[A-Za-z_]/ { print dll, $NF }')
  [ -n "$imports" ] || { echo "FAILED: no imports read from $program"; status=1; continue; }
  while read -r dll function; do
    since=$(awk -v d="$dll" -v f="$function" '!/^#/ && toupper($1) == d && $2 == f { print $3 }' "$table")
    case "$since" in
      95) ;;
      95-stub) [ "$(awk -v f="$function" '$2 == f && NF > 3' "$table")" ] ||
        { echo "FAILED: $(basename "$program") imports $dll!$function, a Windows 9x stub with no code path named"; status=1; } ;;
      "") echo "FAILED: $(basename "$program") imports $dll!$function, which the table does not list"; status=1 ;;
      *) echo "FAILED: $(basename "$program") imports $dll!$function, exported only since Windows $since"; status=1 ;;
    esac
  done <<<"$imports"
  echo "$(basename "$program"): $(wc -l <<<"$imports") imports checked"
done
exit $status
