#!/usr/bin/env bash
# Renders the main window with every tab in turn, for a person to look at:
# build/screenshots/NN-<tab>.png. Uses its own demo prefix and a virtual
# display, inside a Wine desktop window so the frame is drawn too.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup-deps.sh
source scripts/win-arch.sh
bash scripts/build-win32.sh Tarnwell TWSvc Vintrel snuffet TarnwellSetup ui_driver

source scripts/wine-session.sh "$root/build/wine-shots"
unset DISPLAY
trap wine_session_stop EXIT
wine_session_display
bash scripts/install-demo.sh
# A settings file, so the shots show a later start rather than the first.
settings="$WINEPREFIX/drive_c/Program Files/Tarnwell/settings.ini"
[ -f "$settings" ] || printf '[Settings]\r\nIEAllCB_Checked=True\r\n' > "$settings"

out="$root/build/screenshots"
rm -rf "$out"; mkdir -p "$out"
wine explorer /desktop=shots,560x600 "C:\\Program Files\\Tarnwell\\Tarnwell.exe" &
tabs=("Internet Explorer" "AOL Browser" "Netscape" "Opera" "FireFox" "Media Players" "Windows"
      "Plugins" "Shredder" "Security" "Settings" "Control Panel")
sleep 3
for i in "${!tabs[@]}"; do
  wine explorer /desktop=shots,560x600 "C:\\tw-tools\\ui_driver.exe" select-tab "$i"
  sleep 0.7
  name=$(printf '%02d-%s' "$((i + 1))" "${tabs[$i]// /-}")
  import -window root -crop 560x600+0+0 "$out/$name.png"
done
# The Internet Explorer tab once more, after "Analyze Risk" over the demo traces.
wine explorer /desktop=shots,560x600 "C:\\tw-tools\\ui_driver.exe" select-tab 0
wine explorer /desktop=shots,560x600 "C:\\tw-tools\\ui_driver.exe" click "$(grep -oP 'CONTROL\(IEAnalyzeBTN, \K[0-9]+' app/controls.def)"
sleep 0.7
import -window root -crop 560x600+0+0 "$out/13-Internet-Explorer-analyzed.png"
# The details of the Windows tab's temporary files, after its Analyze.
id_of() { grep -oP "CONTROL\($1, \K[0-9]+" app/controls.def; }
wine explorer /desktop=shots,560x600 "C:\\tw-tools\\ui_driver.exe" select-tab 6
wine explorer /desktop=shots,560x600 "C:\\tw-tools\\ui_driver.exe" click "$(id_of WAnalyzeBTN)"
wine explorer /desktop=shots,560x600 "C:\\tw-tools\\ui_driver.exe" details "$(id_of TempFiles)"
sleep 0.7
import -window root -crop 560x600+0+0 "$out/14-Item-Details.png"
echo "Screenshots in $out"
