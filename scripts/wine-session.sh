# Sourced by the scripts that run Wine: a private prefix made from a
# template, a private trash folder, a virtual display when there is none.
# Usage: source scripts/wine-session.sh PREFIX_DIR
# (with an empty PREFIX_DIR it only makes sure the template is there).
# With WINEARCH=win64 the prefix is 64-bit and `wine` is Wine's 64-bit
# loader: the stand-in for machines that cannot run 32-bit programs.
# The recycle bin is $XDG_DATA_HOME/Trash: TARNWELL_XDG_DATA_HOME names a
# private folder for it (default build/xdg-data), never the host's own.
wine_session_prefix=$1
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEARCH="${WINEARCH:-win32}"
template="$root/build/wine-template"
if [ "$WINEARCH" = win64 ]; then
  template="$root/build/wine-template-win64"
  # Debian's `wine` starts the 32-bit loader whenever it is installed.
  shims="$root/build/wine64-bin"
  if [ ! -x "$shims/wineserver" ]; then
    mkdir -p "$shims.$$"
    printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' >"$shims.$$/wine"
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 wineboot "$@"\n' >"$shims.$$/wineboot"
    printf '#!/bin/sh\nexec /usr/lib/wine/wineserver64 "$@"\n' >"$shims.$$/wineserver"
    chmod +x "$shims.$$"/*
    # Made aside and moved in whole: test runners started together all see
    # either no folder or a complete one.
    mv -T "$shims.$$" "$shims" 2>/dev/null || rm -rf "$shims.$$"
  fi
  export PATH="$shims:$PATH"
fi
bash "$root/scripts/wine-prefix.sh" "$template"
if [ -n "$wine_session_prefix" ] && [ ! -f "$wine_session_prefix/.tarnwell-isolated" ]; then
  rm -rf "$wine_session_prefix"
  cp -a "$template" "$wine_session_prefix"
fi
export WINEPREFIX="$wine_session_prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export XDG_DATA_HOME="${TARNWELL_XDG_DATA_HOME:-$root/build/xdg-data}"
mkdir -p "$XDG_DATA_HOME"

# Starts Xvfb on a free display unless one is set already (or, with
# "private", always); the caller's EXIT trap stops it through
# wine_session_stop. Xvfb picks the display number itself, so sessions
# started at the same moment never share one.
wine_session_display() {
  if [ "${1:-}" != private ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local numbers attempt
  numbers=$(mktemp)
  for attempt in 1 2 3; do
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$numbers" >/dev/null 2>&1 &
    wine_session_xvfb=$!
    for _ in $(seq 1 100); do
      if [ -s "$numbers" ]; then
        export DISPLAY=":$(head -n 1 "$numbers")"
        rm -f "$numbers"
        return 0
      fi
      kill -0 "$wine_session_xvfb" 2>/dev/null || break
      sleep 0.1
    done
    kill "$wine_session_xvfb" 2>/dev/null || true
  done
  rm -f "$numbers"
  echo "could not start Xvfb" >&2
  return 1
}

wine_session_stop_display() {
  if [ -n "${wine_session_xvfb:-}" ]; then kill "$wine_session_xvfb" 2>/dev/null || true; fi
}

wine_session_stop() {
  wineserver -k 2>/dev/null || true
  wine_session_stop_display
}
