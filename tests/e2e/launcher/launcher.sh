#!/usr/bin/env bash
# The opening launcher with a stand-in installer that records each start: the movie plays to
# its end before the start; clicks (left and right, on the window and on the player) skip a
# long movie; the drive root and a folder whose name holds a 0x5C trail byte as working
# folders; no movie or a damaged one: no error box, setup.exe starts all the same; no target:
# one failure box, the end after OK.
source "$E2E_SOURCE_DIR/tests/e2e/lib.sh"
: "${LAUNCHER_CLIP_DIR:?}" "${LAUNCHER_LONG_MOVIE:?}"

e2e_begin launcher
disc="$WORK/disc"
probe="$E2E_BIN_DIR/launcher_probe.exe"
hyou="表"  # Shift-JIS 0x95 0x5C: its second byte is a backslash

# place FOLDER [no-target]: the launcher as setupx.exe in FOLDER of the disc and, unless
# no-target, the stand-in as setup.exe beside it. The movies lie in folders of their own, which
# the launchers get as working folder, so the target's working folder is seen to be set by
# the launcher rather than inherited.
place() {
  mkdir -p "$disc/$1"
  cp "$E2E_BIN_DIR/launcher.exe" "$disc/$1/setupx.exe"
  [ "${2:-}" = no-target ] || cp "$E2E_BIN_DIR/launcher_stand_in.exe" "$disc/$1/setup.exe"
}
place PLAY
place LONG
place .
place "$hyou"
place NOTARGET no-target
mkdir -p "$disc/MOVIE" "$disc/LONGMOVIE" "$disc/EMPTY" "$disc/DAMAGED"
cp "$LAUNCHER_CLIP_DIR/d.avi" "$disc/MOVIE/d.avi"
# Cut off inside its headers, as a badly copied file would be.
head -c 600 "$LAUNCHER_CLIP_DIR/d.avi" >"$disc/DAMAGED/d.avi"
cp "$LAUNCHER_LONG_MOVIE" "$disc/LONGMOVIE/d.avi"
# A working folder on another drive: there the target's working folder "D:" (the launcher in
# the drive root) stands for drive D's own current folder, its root, not the inherited one.
mkdir -p "$(prefix_c_dir)/LONGMOVIE"
cp "$LAUNCHER_LONG_MOVIE" "$(prefix_c_dir)/LONGMOVIE/d.avi"
declare_drive d cdrom "$disc"

# probe NAME MODE LAUNCHER-FOLDER WORKING-FOLDER ARGS...: runs D:\LAUNCHER-FOLDER\setupx.exe
# in the Windows folder WORKING-FOLDER with the marker C:\NAME.txt.
probe() {
  local name=$1 mode=$2 launcher="D:\\$3\\setupx.exe" folder=$4
  [ "$3" = . ] && launcher='D:\setupx.exe'
  shift 4
  echo "--- $name: $mode $launcher in $folder"
  LAUNCHER_MARKER="C:\\$name.txt" run_wine "$probe" "$mode" "$launcher" "$folder" "$@"
}

marker_of() { cat "$(prefix_c_dir)/$1.txt" 2>/dev/null; }

# started_once NAME FOLDER: the stand-in ran once, from FOLDER's setup.exe, in FOLDER, no arguments.
started_once() {
  local expected="cwd=$2|exe=${2%\\}\\setup.exe|args=" found
  found=$(marker_of "$1")
  [ "$found" = "$expected" ] || { echo "  expected: $expected"; echo "  found:    $found"; return 1; }
}

check "movie plays to its end, then setup.exe starts" probe play play PLAY 'D:\MOVIE' 'C:\play.txt'
check "  ... once, in its own folder, without arguments" started_once play 'D:\PLAY'

check "left click on the window skips the movie" probe click-main click LONG 'D:\LONGMOVIE' 'C:\click-main.txt' main left
check "  ... and setup.exe starts once" started_once click-main 'D:\LONG'
check "right click on the player skips the movie" \
  probe click-player click LONG 'D:\LONGMOVIE' 'C:\click-player.txt' player right
check "  ... and setup.exe starts once" started_once click-player 'D:\LONG'

check "launcher in the drive root" probe root click . 'C:\LONGMOVIE' 'C:\root.txt' player left
check "  ... starts D:\\setup.exe in D:\\" started_once root 'D:\'

check "launcher in a folder named $hyou" probe hyou click "$hyou" 'D:\LONGMOVIE' 'C:\hyou.txt' player left
check "  ... starts setup.exe there, in that folder" started_once hyou "D:\\$hyou"

check "without d.avi, no error box" probe nomovie unplayable PLAY 'D:\EMPTY' 'C:\nomovie.txt'
check "  ... and setup.exe starts once" started_once nomovie 'D:\PLAY'
check "with a damaged d.avi, no error box" probe damaged unplayable PLAY 'D:\DAMAGED' 'C:\damaged.txt'
check "  ... and setup.exe starts once" started_once damaged 'D:\PLAY'

check "without setup.exe: one failure box, the end after OK" \
  probe notarget missing NOTARGET 'D:\MOVIE' 'D:\NOTARGET\setup.exe の起動に失敗しました。'

e2e_finish
