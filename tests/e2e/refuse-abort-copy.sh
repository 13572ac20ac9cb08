#!/usr/bin/env bash
# Abort during the copy: the sample CD with many more stage files, so that the copy lasts long
# enough to be interrupted, once through the progress window's Abort and once through a close
# request whose question is closed by its own close button. Afterwards part of the files are
# there, complete, and nothing of the later steps is.
source "$(dirname "$0")/lib.sh"

e2e_begin refuse-abort-copy
e2e_make_cd
stage="$WORK/cd/DATA/STAGE"
chmod u+w "$stage"
for i in $(seq -w 1 200); do head -c 262144 /dev/urandom >"$stage/EXTRA$i.DAT"; done
chmod a-w "$stage" "$stage"/*
dest_dir=$(c_path "$SAMPLE_DEST")

# The copy may be stopped before its first file (the Cancel is handled at the first line's
# message pumping) or anywhere later, but never after its last one.
stopped_early() {
  local to_copy copied
  to_copy=$(find "$WORK/cd/DATA" -type f | wc -l)
  copied=$(find "$dest_dir" -type f 2>/dev/null | wc -l)
  echo "  files copied: $copied of $to_copy"
  test "$copied" -lt "$to_copy"
}

copies_complete() {
  local file status=0
  while IFS= read -r file; do
    cmp -s "$dest_dir/$file" "$WORK/cd/DATA/$file" || { echo "  $file is not a full copy"; status=1; }
  done < <(cd "$dest_dir" 2>/dev/null && find . -type f)
  return $status
}
nothing_after_the_copy() {
  check "the copy stopped before its end" stopped_early
  check "every file copied is complete" copies_complete
  check "no configuration file" missing "$dest_dir/GAME.CFG"
  check "no uninstall record" missing "$dest_dir/$SAMPLE_RECORD"
  check "no uninstaller copy" missing "$(c_path 'C:\windows\unkelvo4.exe')"
  check "no registry entries" reg_key_missing 'HKEY_LOCAL_MACHINE\SOFTWARE\SampleSoft'
  check "no uninstall entry" reg_key_missing "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$SAMPLE_TITLE"
  check "no Start-menu folder" missing "$(prefix_programs_dir)/$SAMPLE_GROUP"
}

check "Abort answered No, then Yes, ends the program" run_scenario abort-copy.txt
nothing_after_the_copy

# The abort question closed through its own close button aborts as Yes does.
rm -rf "$dest_dir"
check "the abort question closed by its close button ends the program" run_scenario abort-close.txt
nothing_after_the_copy

e2e_finish
