#!/usr/bin/env bash
# setupcheck.exe, the Windows console build, under Wine: a CD image with known faults (a hidden
# file among them, set through Wine's own attrib) gives the expected findings and exit status,
# in Japanese under a Japanese locale (code page 932) and in English under an English one (1252),
# and the sample CD's plan names its generated files.
source "$(dirname "$0")/lib.sh"

SETUPCHECK="$E2E_BIN_DIR/setupcheck.exe"

e2e_begin setupcheck

# A small image whose script is in Shift-JIS: title ゲーム, a typo, a numbering gap, a pattern that
# matches nothing, a value before any "open", a shortcut outside the title's folder, a hidden
# file among the sources and a file whose name Shift-JIS cannot hold.
bad="$WORK/badcd"
mkdir -p "$bad/DATA"
printf 'MZ' >"$bad/DATA/GAME.EXE"
printf 'x' >"$bad/DATA/HIDDEN.DAT"
printf 'x' >"$bad/DATA/🌙BONUS.DAT"
printf '%s\r\n' '[SETUP]' 'TITLE=ゲーム' 'DIR=C:\Game' 'SRC=@:\DATA' 'UNINSTALL=UNINST.INI' 'SIZE=1' \
  'COPPY1=GAME.EXE,$' 'COPY1=*.*,$' 'COPY2=SOUND\*.WAV,$\SOUND' 'COPY4=GAME.EXE,$\X' 'REG1=long,A,1' \
  'START1=GAME.EXE,遊ぶ' | iconv -f UTF-8 -t CP932 >"$bad/setup.ini"
run_wine cmd /c attrib +h "$(wine_path "$bad/DATA/HIDDEN.DAT")" >/dev/null 2>&1
bad_win=$(wine_path "$bad")

cat >"$WORK/expected-en_US.UTF-8.txt" <<EOF
$bad_win\\setup.ini:7: COPPY1: warning: unknown key, never read (did you mean COPY1?)
$bad_win\\setup.ini:8: COPY1: warning: "D:\\DATA\\HIDDEN.DAT" is hidden: the installer does not copy it
$bad_win\\setup.ini:9: COPY2: warning: source "SOUND\\*.WAV" matches no file (looked for "D:\\DATA\\SOUND\\*.WAV")
$bad_win\\setup.ini:10: COPY4: warning: never read: the COPY list ends at COPY2 because COPY3 is missing
$bad_win\\setup.ini:11: REG1: error: a value before any "open" line: the installation stops with a registry error
$bad_win\\setup.ini:12: START1: warning: folder "遊ぶ" differs from TITLE "ゲーム": the uninstaller leaves this shortcut behind
$bad_win\\setup.ini: error: the dry run into C:\\Game shows the error "レジストリに書き込めません / WindowsNT/2000/XPの場合、インストール権限のあるユーザーで実行してください"
$bad_win\\setup.ini: error: "DATA\\🌙BONUS.DAT": the name cannot be written in Shift-JIS, so the installer never sees it (rename it)
$bad_win\\setup.ini: 5 warnings, 3 errors
EOF
cat >"$WORK/expected-ja_JP.UTF-8.txt" <<EOF
$bad_win\\setup.ini:7: COPPY1: 警告: 知らないキーなので、読まれません (COPY1 の間違いではありませんか?)
$bad_win\\setup.ini:8: COPY1: 警告: "D:\\DATA\\HIDDEN.DAT" は隠しファイルなので、インストーラはコピーしません
$bad_win\\setup.ini:9: COPY2: 警告: コピー元 "SOUND\\*.WAV" に当てはまるファイルがありません (探したもの: "D:\\DATA\\SOUND\\*.WAV")
$bad_win\\setup.ini:10: COPY4: 警告: 読まれません。COPY3 がないので、COPY のリストは COPY2 で終わっています
$bad_win\\setup.ini:11: REG1: エラー: "open" の行より前に値があります。インストールはレジストリのエラーで止まります
$bad_win\\setup.ini:12: START1: 警告: フォルダ "遊ぶ" が TITLE "ゲーム" と違うので、アンインストーラはこのショートカットを残します
$bad_win\\setup.ini: エラー: C:\\Game への模擬インストールでエラー "レジストリに書き込めません / WindowsNT/2000/XPの場合、インストール権限のあるユーザーで実行してください" が表示されます
$bad_win\\setup.ini: エラー: "DATA\\🌙BONUS.DAT": Shift-JIS で書けない名前なので、インストーラからは見えません (名前を変えてください)
$bad_win\\setup.ini: 警告 5 件、エラー 3 件
EOF

# check_findings LANG: the report (redirected, so UTF-8 bytes) in LANG's language and the exit
# status under LANG.
check_findings() {
  local out="$WORK/findings-$1.txt" status
  WINE_LANG=$1 run_wine "$SETUPCHECK" "$bad_win" >"$out" 2>"$WORK/stderr-$1.txt"
  status=$?
  tr -d '\r' <"$out" >"$out.lf"
  [ "$status" -eq 2 ] || { echo "  exit status $status, expected 2"; return 1; }
  diff -u "$WORK/expected-$1.txt" "$out.lf"
}
check "findings in Japanese and exit status 2 under a Japanese locale (code page 932)" check_findings ja_JP.UTF-8
check "the same findings in English under an English locale (code page 1252)" check_findings en_US.UTF-8

# check_plan: the sample CD, with its generated files, planned into the sample's own folder.
check_plan() {
  local out="$WORK/plan.txt"
  run_wine "$SETUPCHECK" --plan 'C:\Games\Sample' "$(wine_path "$WORK/cd")" >"$out" 2>/dev/null
  local status=$?
  [ "$status" -le 1 ] || { echo "  exit status $status"; cat "$out"; return 1; }
  grep -qF 'D:\DATA\MOVIE\OPENING.DAT -> C:\Games\Sample\MOVIE\OPENING.DAT' "$out" &&
    grep -qF "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$SAMPLE_TITLE" "$out" &&
    grep -qF "  | PATH=C:\\Games\\Sample" "$out" || { cat "$out"; return 1; }
}
e2e_make_cd
check "the sample CD's plan names the generated files, the uninstall entry and the configuration file" check_plan

# --to-sjis: a UTF-8 script written as Shift-JIS with CR LF; a character code page 932 lacks is
# named with its place, and nothing is written.
to_sjis() {
  local in="$WORK/utf8.ini" out="$WORK/sjis.ini"
  printf '[SETUP]\nTITLE=ゲーム\n' >"$in"
  run_wine "$SETUPCHECK" --to-sjis "$(wine_path "$in")" "$(wine_path "$out")" >/dev/null 2>&1 || return 1
  printf '[SETUP]\r\nTITLE=ゲーム\r\n' | iconv -f UTF-8 -t CP932 | cmp -s - "$out" || return 1
  printf 'TITLE=恋♡\n' >"$in"
  run_wine "$SETUPCHECK" --to-sjis "$(wine_path "$in")" "$(wine_path "$out")" >"$WORK/to-sjis.txt" 2>/dev/null
  [ $? -eq 2 ] && grep -qF '1:8: 文字 "♡" (U+2661) は Shift-JIS にありません' "$WORK/to-sjis.txt" && [ ! -e "$out" ]
}
check "--to-sjis converts a UTF-8 script and stops at a character Shift-JIS lacks" to_sjis

usage_errors_exit_2() {
  run_wine "$SETUPCHECK" --plan >/dev/null 2>&1
  [ $? -eq 2 ] || return 1
  run_wine "$SETUPCHECK" >/dev/null 2>&1
  [ $? -eq 2 ] || return 1
  run_wine "$SETUPCHECK" --help >"$WORK/help.txt" 2>/dev/null || return 1
  grep -q '^使い方: setupcheck' "$WORK/help.txt" || return 1
  WINE_LANG=en_US.UTF-8 run_wine "$SETUPCHECK" --help >"$WORK/help-en.txt" 2>/dev/null || return 1
  grep -q '^usage: setupcheck' "$WORK/help-en.txt" || return 1
  run_wine "$SETUPCHECK" --version >"$WORK/version.txt" 2>/dev/null || return 1
  [ "$(tr -d '\r' <"$WORK/version.txt")" = "setupcheck $(cat "$E2E_SOURCE_DIR/VERSION")" ] || return 1
  # A folder of the machine that runs the check is no destination on the user's machine.
  run_wine "$SETUPCHECK" --plan /tmp/hoshi "$bad_win" >"$WORK/plan-linux.txt" 2>/dev/null
  [ $? -eq 2 ] && grep -qF -- '--plan にはインストール先の Windows のフォルダを' "$WORK/plan-linux.txt"
}
check "usage errors exit with status 2; --help in each language and --version (the one in VERSION) with 0" \
  usage_errors_exit_2

e2e_finish
