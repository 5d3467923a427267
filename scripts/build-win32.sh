#!/usr/bin/env bash
# Configures (once) and builds the Win32 tree; arguments name targets.
# TARNWELL_WIN_ARCH=x86_64 builds the 64-bit stand-in tree (build/win64)
# that the tests use on machines that cannot run 32-bit programs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
case "${TARNWELL_WIN_ARCH:-i686}" in
  i686) tree=build/win32 deps="$root/build/deps" ;;
  x86_64) tree=build/win64 deps="$root/build/deps-x86_64" ;;
  *) echo "unknown TARNWELL_WIN_ARCH: $TARNWELL_WIN_ARCH" >&2; exit 2 ;;
esac
if [ ! -f "$tree/build.ninja" ]; then
  cmake -S . -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-${TARNWELL_WIN_ARCH:-i686}.cmake" -DTARNWELL_DEPS="$deps" >/dev/null
fi
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$tree" "${targets[@]}"
