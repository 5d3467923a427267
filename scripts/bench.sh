#!/usr/bin/env bash
# Runs the sweep-engine benchmark under Wine in a prefix of its own
# (build/wine-bench); arguments: all (default), analyze, memory, sweep, rename.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup-deps.sh
source scripts/win-arch.sh
bash scripts/build-win32.sh bench_engine
source scripts/wine-session.sh "$root/build/wine-bench"
trap wine_session_stop EXIT
# Run from inside the prefix: a program started by its host path could
# reach the host's files through it.
cp "$win_tree/bench_engine.exe" "$WINEPREFIX/drive_c/bench_engine.exe"
wine 'C:\bench_engine.exe' "${@:-all}"
