#!/usr/bin/env bash
# Abort during the copy: the sample CD with many more stage files, so that the copy lasts long
# enough to be interrupted, once through the progress window's Abort and once through a close
# request whose question is closed by its own close button. Afterwards the machine is as it was:
# the files copied so far and the folders made for them, C:\Games included, are gone again.
source "$(dirname "$0")/lib.sh"

e2e_begin refuse-abort-copy
e2e_make_cd
stage="$WORK/cd/DATA/STAGE"
chmod u+w "$stage"
for i in $(seq -w 1 200); do head -c 262144 /dev/urandom >"$stage/EXTRA$i.DAT"; done
chmod a-w "$stage" "$stage"/*

# The machine as it was before the run: every file below C: and every key.
taken_back() {
  snapshot after-before
  check "the files below C: are as they were" changed_since before files
  check "the registry is as it was" changed_since before registry
}

snapshot before

check "Abort answered No, then Yes, ends the program" run_scenario abort-copy.txt
taken_back

# The abort question closed through its own close button aborts as Yes does.
check "the abort question closed by its close button ends the program" run_scenario abort-close.txt
taken_back

# A record name Windows refuses ("<"): the record fails after every other step has run, and the
# uninstall entry goes with everything else.
e2e_edit_cd_script 's/^UNINSTALL=.*/UNINSTALL=UNINST<.INI\r/'
check "a record that cannot be written ends with the abort notice" \
  run_scenario abort-record.txt RECORD="$SAMPLE_DEST\\UNINST<.INI"
taken_back

e2e_finish
