#!/usr/bin/env bash
# Seeds the prefix named by WINEPREFIX with demo traces (once) and installs
# the built Tarnwell, with its service, Vintrel, the popup blocker library
# and the shipped plug-in definitions, in C:\Program Files\Tarnwell.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/seed-demo.sh"
install_dir="$WINEPREFIX/drive_c/Program Files/Tarnwell"
mkdir -p "$install_dir/plugins"
for file in Tarnwell.exe TWSvc.exe Vintrel.exe snuffet.dll; do cp "$root/${win_tree:-build/win32}/$file" "$install_dir/"; done
# The definitions go in with Windows line ends, for Notepad to open them.
for definition in "$root"/scripts/demo/plugins/*.ini; do
  sed 's/\r\?$/\r/' "$definition" >"$install_dir/plugins/${definition##*/}"
done
# The Wine desktop that the demo runs in draws a taskbar with the
# notification area, so the tray icon and its menu are there to use.
wine reg add 'HKCU\Software\Wine\Explorer' /v EnableShell /t REG_DWORD /d 1 /f >/dev/null
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Tarnwell /d 800x640 /f >/dev/null
