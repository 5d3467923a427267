#!/usr/bin/env bash
# Runs Tarnwell under Wine in a prefix of its own (build/wine-demo), seeded
# with traces of every supported application. Arguments go to Tarnwell.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup-deps.sh
source scripts/win-arch.sh
bash scripts/build-win32.sh Tarnwell TWSvc Vintrel snuffet TarnwellSetup ui_driver

source scripts/wine-session.sh "$root/build/wine-demo"
trap 'wine_session_stop_display' EXIT
bash scripts/install-demo.sh
# A local update page (scripts/demo/update), so that "Check for Updates" in
# the tray menu finds a newer version to offer.
update_port=8730
update_site=$root/build/demo-update
rm -rf "$update_site" && cp -r "$root/scripts/demo/update" "$update_site"
# The installer it offers is this build's own setup program: starting it
# from the download ends Tarnwell and installs over it.
cp "$root/$win_tree/TarnwellSetup.exe" "$update_site/tarnwell/tarnwell-2.21-setup.exe"
python3 -m http.server "$update_port" --bind 127.0.0.1 --directory "$update_site" >/dev/null 2>&1 &
update_server=$!
trap 'kill "$update_server" 2>/dev/null; wine_session_stop_display' EXIT
wine reg add 'HKLM\Software\Tarnwell' /v UpdateURL /d "http://127.0.0.1:$update_port/tarnwell/update.htm" /f >/dev/null

if ! { [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; }; then
  wine_session_display
  cat <<TXT
No display here: Tarnwell runs on the virtual display $DISPLAY.
Look at it from another shell:
  DISPLAY=$DISPLAY import -window root tarnwell.png     # a screenshot
  WINEPREFIX=$WINEPREFIX DISPLAY=$DISPLAY $(command -v wine) explorer /desktop=Tarnwell,800x640 'C:\tw-tools\ui_driver.exe' select-tab 0
Press Ctrl+C here to end it.
TXT
fi
echo "Closing the window hides Tarnwell; run this command again to bring it back."
# Inside a Wine desktop window: the frame, the tray icon and its balloons
# are drawn there whatever the host's window manager. Returns when Tarnwell
# ends (a second start returns at once after waking the first).
wine explorer /desktop=Tarnwell,800x640 "C:\\Program Files\\Tarnwell\\Tarnwell.exe" "$@"
