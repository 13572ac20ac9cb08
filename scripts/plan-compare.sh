# What a CD installed under Wine against what setupcheck's plan says it installs: sourced by
# try-cd.sh after wine-env.sh, never run.
#
# The plan is the installer's own steps run on setupcheck's simulated machine, the installation the
# same steps on Wine. Where they part (a file Windows did not copy, a key or shortcut made
# elsewhere, a simulated machine that no longer answers as Windows does), the difference is named
# here, so a CD that setupcheck passes cannot install something else unnoticed.
#
#   plan_snapshot DIR          the files below drive C: and the registry before the installation
#   plan_normalize             standard input, a plan, with the simulated machine's folders made
#                              Wine's: its Windows folder and its Start menu's Programs folder
#   plan_entries               standard input, a plan, as tab-separated records (see below)
#   plan_link_checks ENTRIES   the driver's "link" lines that check each planned shortcut
#   plan_compare ENTRIES DIR   compares the prefix with the planned entries and plan_snapshot's
#                              DIR; prints one line per file, key or value that differs and
#                              fails when there is one

# The simulated machine's folders, as setupcheck's plan writes them.
_plan_windows='C:\WINDOWS'
_plan_programs='C:\WINDOWS\Start Menu\Programs'

# The files below drive C: and the keys and values of the two roots a script writes to, each key
# as "key<TAB>KEY" and each value as "value<TAB>KEY<TAB>LINE" in the .reg file's own spelling.
# Wine's own settings, which Wine changes whenever a window first appears, are left out.
plan_snapshot() {
  mkdir -p "$1"
  (cd "$WINEPREFIX/drive_c" && find . -mindepth 1 -type f -printf '%p\n' | LC_ALL=C sort) >"$1/files.txt"
  { reg_export 'HKEY_LOCAL_MACHINE\SOFTWARE'; reg_export 'HKEY_CURRENT_USER\Software'; } |
    awk '/^\[/ { key = substr($0, 2, length($0) - 2); wine = index(key "\\", "HKEY_CURRENT_USER\\Software\\Wine\\") == 1 }
         wine { next }
         /^\[/ { print "key\t" key; next }
         /^(@|")/ { print "value\t" key "\t" $0 }' | LC_ALL=C sort >"$1/registry.txt"
}

plan_normalize() {
  local programs
  programs=$(prefix_programs_dir)
  programs="C:${programs#"$WINEPREFIX/drive_c"}"
  programs=${programs//\//\\}
  # Through the environment: awk's -v would read the paths' backslashes as escapes.
  FROM_PROGRAMS=$_plan_programs TO_PROGRAMS=$programs FROM_WINDOWS=$_plan_windows TO_WINDOWS='C:\windows' awk '
    function replace(s, from, to,    at, out) {
      out = ""
      while ((at = index(s, from)) > 0) { out = out substr(s, 1, at - 1) to; s = substr(s, at + length(from)) }
      return out s
    }
    { print replace(replace($0, ENVIRON["FROM_PROGRAMS"], ENVIRON["TO_PROGRAMS"]),
                    ENVIRON["FROM_WINDOWS"], ENVIRON["TO_WINDOWS"]) }'
}

# plan_entries: one record per line, fields separated by tabs:
#   status  finished | stopped | refused
#   copy    TO  FROM          a copied file and its source on the CD
#   written PATH              the configuration file or the uninstall record
#   line    PATH  TEXT        each line of such a file, in order
#   link    PATH  TARGET  FOLDER  DESCRIPTION
#   key     ROOT\PATH
#   value   ROOT\PATH  LINE   the value as a .reg file writes it ("Name"="text", @=..., dword:...)
plan_entries() {
  awk '
    # Quoted as a .reg file quotes: "\" and "\"" behind a backslash. (gsub would need escapes that
    # mawk and gawk read differently.)
    function reg_text(s,    out, c, i) {
      out = ""
      for (i = 1; i <= length(s); i++) { c = substr(s, i, 1); out = out (c == "\\" || c == "\"" ? "\\" : "") c }
      return "\"" out "\""
    }
    /^Installation into / {
      status = / \(stopped before the end\)$/ ? "stopped" : /: refused, nothing is installed$/ ? "refused" : "finished"
      print "status\t" status; next
    }
    /^$/ { section = ""; next }
    /^Files copied \(/ { section = "copies"; next }
    /^Registry:$/ { section = "registry"; next }
    /^Shortcuts \(/ { section = "links"; next }
    /^(Configuration file|Uninstall record) .* \([0-9]+ bytes\):$/ {
      path = $0
      sub(/^(Configuration file|Uninstall record) /, "", path)
      sub(/ \([0-9]+ bytes\):$/, "", path)
      print "written\t" path; section = "written"; next
    }
    /^[^ ]/ { section = ""; next }
    section == "copies" && (at = index($0, " -> ")) > 0 {
      print "copy\t" substr($0, at + 4) "\t" substr($0, 3, at - 3); next
    }
    section == "written" && /^  \| / {
      text = substr($0, 5); sub(/  \(no CR LF at the end\)$/, "", text)
      print "line\t" path "\t" text; next
    }
    section == "registry" && /^  [^ ]/ { key = substr($0, 3); print "key\t" key; next }
    section == "registry" && /^    / && (at = index($0, " = ")) > 0 {
      name = substr($0, 5, at - 5); rest = substr($0, at + 3)
      name = name == "(default)" ? "@" : reg_text(name)
      if (rest ~ /^".*" \(REG_SZ\)$/) {
        print "value\t" key "\t" name "=" reg_text(substr(rest, 2, length(rest) - 11))
      } else if (match(rest, /\(REG_DWORD 0x[0-9A-F]+\)$/)) {
        print "value\t" key "\t" name "=dword:" tolower(substr(rest, RSTART + 13, 8))
      }
      next
    }
    section == "links" && /^  [^ ]/ { link = substr($0, 3); next }
    section == "links" && /^    target / {
      s = substr($0, 12)
      at = index(s, ", working folder "); target = substr(s, 1, at - 1); s = substr(s, at + 17)
      at = index(s, ", description \""); folder = substr(s, 1, at - 1)
      description = substr(s, at + 15); sub(/"$/, "", description)
      print "link\t" link "\t" target "\t" folder "\t" description
    }'
}

# The driver compares a shortcut's target, working folder and description as Windows reads them.
plan_link_checks() {
  awk -F '\t' '$1 == "link" { printf "link \"%s\" \"%s\" \"%s\" \"%s\"\n", $2, $3, $4, $5 }' "$1"
}

# _plan_only_in A B: the lines of file A that file B lacks, compared without regard to ASCII letter
# case, as Windows compares names (values are compared so too: the Windows folder is spelt
# "C:\WINDOWS" in one place and "C:\windows" in another).
_plan_only_in() {
  awk 'FILENAME == ARGV[1] { seen[tolower($0)] = 1; next } !(tolower($0) in seen)' "$2" "$1"
}

_plan_lower() { tr 'A-Z' 'a-z'; }

plan_compare() {
  local entries=$1 before=$2 after="$2-after" differences=0 path to from entry
  _plan_differ() {
    echo "$1"
    differences=$((differences + 1))
  }
  plan_snapshot "$after"
  awk -F '\t' '$1 == "copy" || $1 == "written" || $1 == "link" { print $2 }' "$entries" >"$after/planned-files.txt"
  LC_ALL=C comm -13 "$before/files.txt" "$after/files.txt" | sed 's|^\./|C:\\|; s|/|\\|g' >"$after/new-files.txt"

  [ "$(awk -F '\t' '$1 == "status" { print $2 }' "$entries")" = finished ] ||
    _plan_differ "setupcheck's dry run does not finish (see its findings), the installation did"
  while IFS= read -r path; do
    [ -f "$(unix_path "$path" || true)" ] || _plan_differ "MISSING file $path"
  done < <(_plan_only_in "$after/planned-files.txt" "$after/new-files.txt")
  while IFS= read -r path; do
    _plan_differ "UNPLANNED file $path"
  done < <(_plan_only_in "$after/new-files.txt" "$after/planned-files.txt")
  while IFS=$'\t' read -r to from; do
    cmp -s "$(unix_path "$from")" "$(unix_path "$to")" 2>/dev/null || _plan_differ "DIFFERENT bytes in $to (from $from)"
  done < <(awk -F '\t' '$1 == "copy" { print $2 "\t" $3 }' "$entries")
  while IFS= read -r path; do
    cmp -s <(P=$path awk -F '\t' '$1 == "line" && $2 == ENVIRON["P"] { print $3 }' "$entries" | _plan_lower) \
      <(iconv -f CP932 -t UTF-8 "$(unix_path "$path")" 2>/dev/null | tr -d '\r' | _plan_lower) ||
      _plan_differ "DIFFERENT text in $path"
  done < <(awk -F '\t' '$1 == "written" { print $2 }' "$entries")

  # Every planned key and value is there, and every added one is planned, or, for a key, is a
  # parent the installer made on the way to a planned one.
  awk -F '\t' '$1 == "key" || $1 == "value"' "$entries" >"$after/planned-registry.txt"
  LC_ALL=C comm -13 "$before/registry.txt" "$after/registry.txt" >"$after/added-registry.txt"
  while IFS= read -r entry; do
    _plan_differ "MISSING ${entry//$'\t'/ }"
  done < <(_plan_only_in "$after/planned-registry.txt" "$after/registry.txt")
  while IFS= read -r entry; do
    _plan_differ "UNPLANNED ${entry//$'\t'/ }"
  done < <(_plan_only_in "$after/added-registry.txt" "$after/planned-registry.txt" |
    awk -F '\t' 'FILENAME == ARGV[1] { if ($1 == "key") planned[tolower($2)] = 1; next }
      $1 == "key" { for (k in planned) if (index(k, tolower($2) "\\") == 1) next }
      { print }' "$after/planned-registry.txt" -)
  [ "$differences" -eq 0 ]
}
