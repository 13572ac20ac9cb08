#!/usr/bin/env bash
# The DirectX offer: the sample asks for DirectX 7 and the system's DDRAW.DLL says 6
# ("4.06.02.0436"). No stops the installation with a notice, Yes starts the CD's
# DIRECTX\DXSETUP.EXE; both end the program before anything is copied. Asking for DirectX 9,
# the same CD installs without the offer with the DDRAW.DLL of Windows 10 (12), Windows 7 (11)
# and XP ("5.", where the registry's DirectX version 9 counts), and with Wine's own.
source "$(dirname "$0")/lib.sh"

e2e_begin refuse-directx
e2e_make_cd
chmod u+w "$WORK/cd"
mkdir -p "$WORK/cd/DIRECTX"
cp "$E2E_BIN_DIR/started_marker.exe" "$WORK/cd/DIRECTX/DXSETUP.EXE"
chmod -R a-w "$WORK/cd"
e2e_edit_cd_script 's/^DIRECTX=0\r$/DIRECTX=7\r/'

system_ddraw="$WINEPREFIX/drive_c/windows/system32/ddraw.dll"
cp "$system_ddraw" "$WORK/wine-ddraw.dll"
cp "$E2E_DDRAW_DIR/ddraw-directx6/DDRAW.DLL" "$system_ddraw"
# Wine answers version queries on a file named like one of its own DLLs with its own DLL's
# resources, unless that DLL is set to load the file on disk.
wine_reg add 'HKCU\Software\Wine\DllOverrides' /v ddraw /t REG_SZ /d native /f >/dev/null
marker=$(c_path 'C:\started-marker.txt')

check "the offer answered No ends with the notice" run_scenario directx-no.txt DEST='C:\Games\First'
check "the folder created before the offer stays, empty" test -d "$(c_path 'C:\Games\First')" -a -z "$(ls -A "$(c_path 'C:\Games\First')")"
check "No does not start the DirectX setup" missing "$marker"

check "the offer answered Yes ends the program" run_scenario directx-yes.txt DEST='C:\Games\Second'
# The installer does not wait for the program it starts.
for _ in $(seq 100); do [ -s "$marker" ] && break; sleep 0.1; done
check "Yes starts the CD's DirectX setup" grep -qiF 'D:\DIRECTX\DXSETUP.EXE' "$marker"
check "nothing was copied" test -z "$(ls -A "$(c_path 'C:\Games\Second')")"
check "no uninstall entry" reg_key_missing "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$SAMPLE_TITLE"

e2e_edit_cd_script 's/^DIRECTX=7\r$/DIRECTX=9\r/'
check "the CD now asks for DirectX 9" grep -q $'^DIRECTX=9\r$' "$WORK/cd/setup.ini"
# What a DirectX 9.0c setup leaves on Windows XP (and what Wine's prefix holds already).
wine_reg add 'HKLM\Software\Microsoft\DirectX' /v Version /t REG_SZ /d 4.09.00.0904 /f >/dev/null
for windows in win10 win7 xp wine; do
  if [ $windows = wine ]; then
    cp "$WORK/wine-ddraw.dll" "$system_ddraw"
  else
    cp "$E2E_DDRAW_DIR/ddraw-$windows/DDRAW.DLL" "$system_ddraw"
  fi
  check "DIRECTX=9 with the DDRAW.DLL of $windows installs without the offer" \
    run_scenario install-sample.txt TITLE="$SAMPLE_TITLE" DEFAULT="$SAMPLE_DEST" DEST="C:\\Games\\$windows"
done

e2e_finish
