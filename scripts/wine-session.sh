# Sourced by the scripts that run Wine: a private prefix made from a
# template, a private trash folder, a virtual display when there is none.
# Usage: source scripts/wine-session.sh PREFIX_DIR
wine_session_prefix=$1
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
template="$root/build/wine-template"
bash "$root/scripts/wine-prefix.sh" "$template"
if [ ! -f "$wine_session_prefix/.tarnwell-ready" ]; then
  rm -rf "$wine_session_prefix"
  cp -a "$template" "$wine_session_prefix"
fi
export WINEPREFIX="$wine_session_prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
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
