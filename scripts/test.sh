#!/usr/bin/env bash
# Builds everything and runs every test: the portable core natively (with
# sanitizers), then the Windows programs under Wine in a prefix of their
# own on a virtual display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# Everything the build and the tests make lies below build/: the source
# tree's state (tracked, untracked and ignored files) is the same at the end.
source_tree_state() {
  # -z: names with spaces come unquoted, so the build/ filter sees them too.
  git status --porcelain -z --ignored --untracked-files=all 2>/dev/null |
    tr '\0' '\n' | grep -v '^.. build/' || true
}
source_tree_before=$(source_tree_state)

bash scripts/setup-deps.sh

# Includes point one way: the portable base, then the UI wrappers and the
# sweep engine, then everything built on them.
bash scripts/check-layers.sh

cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/native
ctest --test-dir build/native --output-on-failure --no-tests=error

# The text handling that reads outside input, under libFuzzer for a bounded run.
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/fuzz
# The whole log on a failure, with the crash report; its last line otherwise.
fuzz_log=build/fuzz/core_text_fuzz.log
if build/fuzz/core_text_fuzz -runs=100000 -seed=1 >"$fuzz_log" 2>&1; then tail -n 1 "$fuzz_log"; else cat "$fuzz_log"; exit 1; fi

bash scripts/build-win32.sh

# Every shipped binary imports only what Windows 95, 98, ME and NT 4 export.
bash scripts/check-imports.sh build/win32

source scripts/win-arch.sh
[ "$TARNWELL_WIN_ARCH" = i686 ] || bash scripts/build-win32.sh

# Every test program runs in a prefix, on a display and with a wineserver
# of its own (tests/win32/run_test.sh), copied fresh from the template for
# each run, so they run side by side; most of their time is spent waiting
# on Wine, so more of them run than there are cores.
rm -rf build/wine-tests
template=build/wine-template
[ "$WINEARCH" = win64 ] && template=build/wine-template-win64
(source scripts/wine-session.sh "")
# Neither the template nor (checked by the runner) any test's prefix leads
# to the host's files.
bash scripts/isolate-prefix.sh --check "$template"
jobs=${TARNWELL_TEST_JOBS:-$(( $(nproc) * 3 ))}
ctest_log=build/wine-tests/ctest.log
mkdir -p build/wine-tests
started=$(date +%s)
status=0
ctest --test-dir "$win_tree" --output-on-failure --no-tests=error -j"$jobs" | tee "$ctest_log" || status=$?
echo "Wine tests: $(( $(date +%s) - started )) s of wall time, $jobs at a time"
echo "The ten slowest:"
sed -n 's/^ *[0-9]*\/[0-9]* Test *#[0-9]*: \([^ ]*\) .* \([0-9.]*\) sec$/\2 \1/p' "$ctest_log" |
  sort -rn | head -n 10 | awk '{ printf "  %8.1f s  %s\n", $1, $2 }'
[ "$status" = 0 ] || exit "$status"

source_tree_after=$(source_tree_state)
if [ "$source_tree_before" != "$source_tree_after" ]; then
  echo "the build or the tests wrote into the source tree:" >&2
  diff <(echo "$source_tree_before") <(echo "$source_tree_after") >&2 || true
  exit 1
fi
echo "source tree: nothing written outside build/"
