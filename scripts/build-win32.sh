#!/usr/bin/env bash
# Configures (once) and builds the Win32 tree; arguments name targets.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if [ ! -f build/win32/build.ninja ]; then
  cmake -S . -B build/win32 -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
fi
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build build/win32 "${targets[@]}"
