# Sourced by the scripts that run Wine: a private prefix made from a
# template, a private trash folder, a virtual display when there is none.
# Usage: source scripts/wine-session.sh PREFIX_DIR
# With WINEARCH=win64 the prefix is 64-bit and `wine` is Wine's 64-bit
# loader: the stand-in for machines that cannot run 32-bit programs.
wine_session_prefix=$1
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEARCH="${WINEARCH:-win32}"
template="$root/build/wine-template"
if [ "$WINEARCH" = win64 ]; then
  template="$root/build/wine-template-win64"
  # Debian's `wine` starts the 32-bit loader whenever it is installed.
  shims="$root/build/wine64-bin"
  mkdir -p "$shims"
  printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' >"$shims/wine"
  printf '#!/bin/sh\nexec /usr/lib/wine/wine64 wineboot "$@"\n' >"$shims/wineboot"
  printf '#!/bin/sh\nexec /usr/lib/wine/wineserver64 "$@"\n' >"$shims/wineserver"
  chmod +x "$shims"/*
  export PATH="$shims:$PATH"
fi
bash "$root/scripts/wine-prefix.sh" "$template"
if [ ! -f "$wine_session_prefix/.tarnwell-ready" ]; then
  rm -rf "$wine_session_prefix"
  cp -a "$template" "$wine_session_prefix"
fi
export WINEPREFIX="$wine_session_prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export XDG_DATA_HOME="$root/build/xdg-data"
mkdir -p "$XDG_DATA_HOME"

# Starts Xvfb on a free display unless one is set already; the caller's
# EXIT trap stops it through wine_session_stop.
wine_session_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    wine_session_xvfb=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  done
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
