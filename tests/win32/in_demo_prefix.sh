#!/usr/bin/env bash
# Runs a test program in a Wine prefix freshly seeded with the demo
# profile's traces, once for each Windows version named; the prefix is
# made anew for every version and removed afterwards.
# Usage: in_demo_prefix.sh PROGRAM GTEST_FILTER VERSION...
set -euo pipefail
program=$1
filter=$2
shift 2
root=$(cd "$(dirname "$0")/../.." && pwd)
template=$root/build/wine-template
[ "${WINEARCH:-win32}" = win64 ] && template=$root/build/wine-template-win64
prefix=$root/build/wine-demo-test
report=$root/build/wine-demo-test.xml
cleanup() {
  WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
  rm -rf "$prefix" "$report"
}
trap cleanup EXIT
for version in "$@"; do
  cleanup
  cp -a "$template" "$prefix"
  WINEPREFIX=$prefix bash "$root/scripts/seed-demo.sh"
  echo "== $version"
  WINEPREFIX=$prefix TARNWELL_DEMO_VERSION=$version wine "$program" --gtest_filter="$filter" \
    --gtest_output="xml:$(WINEPREFIX=$prefix wine winepath -w "$report")" 2>&1 | grep -v '^wine: Read access denied' || true
  # Passed only when a test ran, none failed and none was skipped.
  [ -f "$report" ] || { echo "the tests left no report" >&2; exit 1; }
  summary=$(grep -m1 '<testsuites ' "$report")
  echo "$summary"
  case "$summary" in *' tests="0"'*) echo "no test ran" >&2; exit 1 ;; esac
  grep -q 'failures="0"' <<<"$summary" && grep -q 'errors="0"' <<<"$summary" || exit 1
  if grep -q '<skipped' "$report"; then echo "a test was skipped" >&2; exit 1; fi
done
