#!/usr/bin/env bash
# Seeds the prefix named by WINEPREFIX with demo traces (once) and installs
# the built Tarnwell with its setup program, as a user would (silently, into
# C:\Program Files\Tarnwell); a copy already installed from the same build
# is left running as it is. The demo application's plug-in definition goes
# in beside the shipped ones. Programs are copied into the prefix and run
# from there: a program started by its host path could reach the host's
# files through it. The UI driver goes to C:\tw-tools.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/seed-demo.sh"
tree=$root/${win_tree:-build/win32}
install_dir="$WINEPREFIX/drive_c/Program Files/Tarnwell"
for program in Tarnwell.exe TWSvc.exe Vintrel.exe snuffet.dll; do
  if ! cmp -s "$tree/$program" "$install_dir/$program"; then
    cp "$tree/TarnwellSetup.exe" "$WINEPREFIX/drive_c/windows/temp/TarnwellSetup.exe"
    wine 'C:\windows\temp\TarnwellSetup.exe' /S
    rm -f "$WINEPREFIX/drive_c/windows/temp/TarnwellSetup.exe"
    break
  fi
done
mkdir -p "$WINEPREFIX/drive_c/tw-tools"
[ ! -f "$tree/ui_driver.exe" ] || cp "$tree/ui_driver.exe" "$WINEPREFIX/drive_c/tw-tools/"
# The prefix reaches nothing of the host's.
bash "$root/scripts/isolate-prefix.sh" --check "$WINEPREFIX"
# With Windows line ends, for Notepad to open it.
for definition in "$root"/scripts/demo/plugins/*.ini; do
  sed 's/\r\?$/\r/' "$definition" >"$install_dir/plugins/${definition##*/}"
done
# The Wine desktop that the demo runs in draws a taskbar with the
# notification area, so the tray icon and its menu are there to use.
wine reg add 'HKCU\Software\Wine\Explorer' /v EnableShell /t REG_DWORD /d 1 /f >/dev/null
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Tarnwell /d 800x640 /f >/dev/null
