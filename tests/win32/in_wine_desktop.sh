#!/usr/bin/env bash
# Runs tests of a test program inside a Wine desktop window that draws a
# taskbar with its tray: only there does Wine's shell show balloon tips.
# Passes when every selected test ran and passed (none skipped).
# Usage: in_wine_desktop.sh PROGRAM GTEST_FILTER
set -euo pipefail
program=$1
filter=$2
result=$(mktemp -d "${TMPDIR:-/tmp}/tarnwell-desktop.XXXXXX")
key='HKCU\Software\Wine\Explorer'
size=800x600
cleanup() {
  wine reg delete "$key" /v EnableShell /f >/dev/null 2>&1 || true
  wine reg delete "$key\\Desktops" /v tarnwell-test /f >/dev/null 2>&1 || true
  rm -rf "$result"
}
trap cleanup EXIT
wine reg add "$key" /v EnableShell /t REG_DWORD /d 1 /f >/dev/null
wine reg add "$key\\Desktops" /v tarnwell-test /t REG_SZ /d "$size" /f >/dev/null

export TARNWELL_IN_WINE_DESKTOP=1
wine explorer "/desktop=tarnwell-test,$size" "$(wine winepath -w "$program")" --gtest_filter="$filter" \
  --gtest_output="xml:$(wine winepath -w "$result/out.xml")"

[ -f "$result/out.xml" ] || { echo "the tests left no report" >&2; exit 1; }
summary=$(grep -m1 '<testsuites ' "$result/out.xml")
echo "$summary"
case "$summary" in
  *' tests="0"'*) echo "no test ran" >&2; exit 1 ;;
esac
grep -q 'failures="0"' <<<"$summary" && grep -q 'errors="0"' <<<"$summary" || exit 1
if grep -q '<skipped' "$result/out.xml"; then echo "a test was skipped" >&2; exit 1; fi
