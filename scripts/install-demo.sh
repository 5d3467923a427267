#!/usr/bin/env bash
# Seeds the prefix named by WINEPREFIX with demo traces (once) and installs
# the built Tarnwell, with the demo plug-in, in C:\Program Files\Tarnwell.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/seed-demo.sh"
install_dir="$WINEPREFIX/drive_c/Program Files/Tarnwell"
mkdir -p "$install_dir/plugins"
cp "$root/${win_tree:-build/win32}/Tarnwell.exe" "$root/${win_tree:-build/win32}/TWSvc.exe" "$install_dir/"
cp "$root"/scripts/demo/plugins/*.ini "$install_dir/plugins/"
