#!/usr/bin/env bash
# Creates (once) a Wine prefix at $1 that is ready for Tarnwell: crash
# dialog off, fonts installed. Later calls return at once. The prefix is
# 32-bit unless WINEARCH says otherwise.
set -euo pipefail
prefix=$1
export WINEPREFIX="$prefix" WINEARCH="${WINEARCH:-win32}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ -f "$prefix/.tarnwell-ready" ]; then exit 0; fi
rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
wineboot --init >/dev/null 2>&1
wineserver -w
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
mkdir -p "$prefix/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
wineserver -w
touch "$prefix/.tarnwell-ready"
