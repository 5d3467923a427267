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
wine $win_tree/bench_engine.exe "${@:-all}"
