#!/usr/bin/env bash
# CTest's command for every Windows test: runs one test program under Wine
# in a world of its own, so that tests run side by side and none can reach
# the host's files.
# - A prefix copied from the template (no links to the host's home, no
#   drive but C:), with its own wineserver, registry and single-instance
#   mutexes; a virtual display and a trash folder of its own.
# - The test program and the programs under test are copied in; TARNWELL_*
#   variables that name host files or folders are copied in too and given
#   as Windows paths.
# - Drive F: is a fixtures folder of the test's own (a profile on another
#   drive, say).
# - A sentinel tree outside the prefix stands for the host's files; the
#   link fixtures (link_fixtures.sh), made in every prefix, lead into it. It must be untouched at the end, and the
#   prefix must still lead nowhere outside the test's own folder.
# - The run passes only when tests ran, none failed and (unless allowed)
#   none skipped itself.
# The test's folder is removed when it passed and kept for a look when not.
# Usage: run_test.sh [OPTION...] NAME PROGRAM [ARGUMENT...]
#   --arch win32|win64  the tree's Windows (default win32)
#   --version V         the program sees Windows version V (win98, winme, winxp, ...)
#   --demo              seed the prefix with the demo profile (seed-demo.sh)
#   --desktop           run inside a Wine desktop whose taskbar shows balloon tips
#   --allow-skip        tests that skip themselves do not fail the run
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

arch=win32 version="" demo=0 desktop=0 allow_skip=0
while [[ "${1:-}" == --* ]]; do
  case $1 in
    --arch) arch=$2; shift 2 ;;
    --version) version=$2; shift 2 ;;
    --demo) demo=1; shift ;;
    --desktop) desktop=1; shift ;;
    --allow-skip) allow_skip=1; shift ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
done
name=$1 program=$(realpath "$2")
shift 2

tests_root=${TARNWELL_TEST_ROOT:-$root/build/wine-tests}
folder=$tests_root/$name
rm -rf "$folder"
mkdir -p "$folder/fixtures" "$folder/xdg"
export WINEARCH=$arch TARNWELL_XDG_DATA_HOME=$folder/xdg
# shellcheck source=../../scripts/wine-session.sh
source "$root/scripts/wine-session.sh" "$folder/prefix"
passed=0
finish() {
  wine_session_stop
  wineserver -w 2>/dev/null || true
  [ "$passed" = 1 ] && rm -rf "$folder"
}
trap finish EXIT
wine_session_display private
ln -s ../../fixtures "$WINEPREFIX/dosdevices/f:"

# The programs, copied in beside each other as they are installed.
bin="$WINEPREFIX/drive_c/tw-build"
mkdir -p "$bin"
cp "$program" "$bin/"
# Wine starts in the Windows folder of the prefix, not in a host folder that
# would be one more way out.
cd "$WINEPREFIX/drive_c"
program_win="C:\\tw-build\\${program##*/}"
windows_path() { printf 'C:\\tw-build\\%s' "$1"; }
if [ -n "${TARNWELL_EXE:-}" ]; then
  tree=$(dirname "$(realpath "$TARNWELL_EXE")")
  for file in Tarnwell.exe TWSvc.exe Vintrel.exe snuffet.dll; do
    [ -f "$tree/$file" ] && cp "$tree/$file" "$bin/"
  done
  export TARNWELL_EXE; TARNWELL_EXE=$(windows_path Tarnwell.exe)
fi
# A host file or folder that a variable names goes into a folder named
# for the variable, so that two of the same name stay apart.
for variable in TARNWELL_SETUP TARNWELL_DEMO_PLUGINS TARNWELL_SHIPPED_PLUGINS; do
  value=${!variable:-}
  [[ "$value" == /* ]] || continue
  mkdir -p "$bin/$variable"
  if [ -d "$value" ]; then
    cp -r "$value/." "$bin/$variable/"
    export "$variable=$(windows_path "$variable")"
  else
    cp "$value" "$bin/$variable/"
    export "$variable=$(windows_path "$variable\\${value##*/}")"
  fi
done

# The stand-in for the host's files, outside the prefix.
host=$folder/host
mkdir -p "$host"
printf 'the host user'"'"'s own file' >"$host/own.txt"
TARNWELL_HOST_SENTINEL=$host bash "$here/link_fixtures.sh"
host_before=$(cd "$host" && find . -printf '%p %y %s %T@\n' | sort && find . -type f -exec md5sum {} + | sort)

if [ -n "$version" ]; then
  export TARNWELL_WINDOWS_VERSION=$version
  wine reg add "HKCU\\Software\\Wine\\AppDefaults\\${program##*/}" /v Version /d "$version" /f >/dev/null
fi
if [ "$demo" = 1 ]; then bash "$root/scripts/seed-demo.sh" >/dev/null; fi
bash "$root/scripts/isolate-prefix.sh" --check "$WINEPREFIX" "$folder"

report="$folder/report.xml"
report_win="C:\\tw-build\\report.xml"
status=0
if [ "$desktop" = 1 ]; then
  key='HKCU\Software\Wine\Explorer'
  wine reg add "$key" /v EnableShell /t REG_DWORD /d 1 /f >/dev/null
  wine reg add "$key\\Desktops" /v tarnwell-test /t REG_SZ /d 800x600 /f >/dev/null
  export TARNWELL_IN_WINE_DESKTOP=1
  wine explorer /desktop=tarnwell-test,800x600 "$program_win" "$@" --gtest_output="xml:$report_win" || status=$?
else
  wine "$program_win" "$@" --gtest_output="xml:$report_win" || status=$?
fi
wineserver -w 2>/dev/null || true
[ -f "$bin/report.xml" ] && mv "$bin/report.xml" "$report"

fail() { echo "*** $name: $*" >&2; exit 1; }
[ -f "$report" ] || fail "the test program left no report (exit code $status)"
summary=$(grep -m1 '<testsuites ' "$report")
case "$summary" in *' tests="0"'*) fail "no test ran" ;; esac
grep -q 'failures="0"' <<<"$summary" && grep -q 'errors="0"' <<<"$summary" || fail "tests failed"
[ "$status" = 0 ] || fail "the test program ended with exit code $status"
if [ "$allow_skip" = 0 ] && grep -q '<skipped' "$report"; then
  grep -B1 '<skipped' "$report" >&2
  fail "a test skipped itself"
fi
host_after=$(cd "$host" && find . -printf '%p %y %s %T@\n' | sort && find . -type f -exec md5sum {} + | sort)
if [ "$host_before" != "$host_after" ]; then
  diff <(echo "$host_before") <(echo "$host_after") >&2 || true
  fail "the sentinel tree outside the prefix was changed"
fi
bash "$root/scripts/isolate-prefix.sh" --check "$WINEPREFIX" "$folder" || fail "the prefix now leads outside"
passed=1
