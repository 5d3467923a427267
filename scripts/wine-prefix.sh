#!/usr/bin/env bash
# Creates (once) a Wine prefix at $1 that is ready for Tarnwell: crash
# dialog off, fonts installed, nothing that leads to the host's files
# (scripts/isolate-prefix.sh). Later calls return at once; calls made at
# the same time wait for the one that creates it. The prefix is 32-bit
# unless WINEARCH says otherwise.
set -euo pipefail
prefix=$1
export WINEPREFIX="$prefix" WINEARCH="${WINEARCH:-win32}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
ready="$prefix/.tarnwell-isolated"
if [ -f "$ready" ]; then exit 0; fi
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
if [ -f "$ready" ]; then exit 0; fi
rm -rf "$prefix"
wineboot --init >/dev/null 2>&1
wineserver -w
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
mkdir -p "$prefix/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
wineserver -w
bash "$(dirname "$0")/isolate-prefix.sh" "$prefix"
bash "$(dirname "$0")/isolate-prefix.sh" --check "$prefix"
touch "$ready"
