#!/usr/bin/env bash
# Settings the Win32 tests need in the prefix named by WINEPREFIX: each
# known-locations test program sees the Windows version it is named for.
set -euo pipefail
for version in win98 winme winxp; do
  wine reg add "HKCU\\Software\\Wine\\AppDefaults\\known_locations_$version.exe" /v Version /d "$version" /f >/dev/null
done
wineserver -w
