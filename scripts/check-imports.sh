#!/usr/bin/env bash
# Checks that every function the shipped binaries import from a system DLL is
# exported on Windows 95 (with Winsock 2 and the VC6 runtime), 98, ME and NT 4.
# Wine resolves any import, so only the PE import tables prove that the loader
# on those systems will start the program.
#
#   scripts/check-imports.sh BUILD_DIR
#
# Allowed imports come from scripts/import-allowlist.txt; the binaries that run
# only on the NT family may also use scripts/import-allowlist-nt.txt.  Every
# allowlist entry must carry at least one source tag defined in the header of
# its file, so that each fact can be traced.  Exit status: 0 all allowed,
# 1 some import not allowed, 2 usage or tool error.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
common_list=$here/import-allowlist.txt
nt_list=$here/import-allowlist-nt.txt
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}

# Shipped binaries, and those that run on the NT family only.
shipped=(Tarnwell.exe TWSvc.exe Vintrel.exe snuffet.dll TarnwellSetup.exe)
nt_only=" TWSvc.exe "

if [ $# -ne 1 ] || [ ! -d "$1" ]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build=$1
command -v "$objdump" >/dev/null || { echo "check-imports: $objdump not found" >&2; exit 2; }

# Reads an allowlist into "DLL<TAB>FUNCTION" lines (DLL upper-cased, since the
# loader matches module names without regard to case).  Fails on entries
# without a source tag, or with a tag the header does not define.
load_list() {
  awk -v file="$1" '
    /^#[ \t]*\[[A-Za-z0-9_-]+\]/ {
      match($0, /\[[A-Za-z0-9_-]+\]/)
      defined[substr($0, RSTART + 1, RLENGTH - 2)] = 1
      next
    }
    /^[ \t]*(#|$)/ { next }
    {
      tags = 0
      # A tag may carry a detail after a colon (a page or an ordinal); the
      # part before the colon must be defined in the header.
      for (i = 3; i <= NF && $i !~ /^#/; i++) { t = $i; sub(/:.*/, "", t); used[t] = used[t] " " NR; tags++ }
      if (tags == 0) { printf "%s:%d: entry has no source tag\n", file, NR > "/dev/stderr"; bad = 1; next }
      print toupper($1) "\t" $2
    }
    END {
      for (t in used) if (!(t in defined)) {
        printf "%s:%s: source tag %s is not defined in the header\n", file, used[t], t > "/dev/stderr"; bad = 1
      }
      exit bad
    }' "$1"
}

# Lists the imports of one binary as "DLL<TAB>FUNCTION"; an import by ordinal
# shows up as "#N".  objdump prints a named import as "<hint-rva> <hint> <name>"
# (the hint is only a lookup hint) and an ordinal import as
# "<0x80000000|ordinal> <ordinal> <none>".
list_imports() {
  "$objdump" -p "$1" | awk '
    /^The Import Tables/ { inside = 1; next }
    inside && /^[A-Z]/ && !/^The Import Tables/ { inside = 0 }
    !inside { next }
    /DLL Name:/ { dll = toupper($3); next }
    dll != "" && /^\t[0-9a-fA-F]+\t/ {
      if ($3 == "<none>") print dll "\t#" $2
      else print dll "\t" $3
    }'
}

common=$(load_list "$common_list") || exit 2
nt=$(load_list "$nt_list") || exit 2

failed=0
summary=()
for bin in "${shipped[@]}"; do
  path=$build/$bin
  [ -f "$path" ] || continue

  # Imports bound at first call are not in the import table, so they cannot
  # be checked here; refuse them rather than pass them silently.
  if "$objdump" -p "$path" | grep -Eq '^Entry d [0-9a-f]*[1-9a-f][0-9a-f]* [0-9a-f]+ Delay Import Directory'; then
    echo "check-imports: $bin has delay-load imports, which this check cannot see" >&2
    failed=1
  fi

  allowed=$common
  case $nt_only in *" $bin "*) allowed=$common$'\n'$nt ;; esac

  imports=$(list_imports "$path")
  if [ -z "$imports" ]; then
    echo "check-imports: no import table found in $bin" >&2
    failed=1
    continue
  fi

  # Report unknown DLLs once, then each function not on the list.
  bad=$(awk -F'\t' -v bin="$bin" '
    NR == FNR { ok[$1 "\t" $2] = 1; known[$1] = 1; next }
    !($1 in known) {
      if (!($1 in told)) printf "%s: imports from %s, a DLL the allowlist does not name as present on Windows 95, 98, ME and NT 4\n", bin, $1
      told[$1] = 1
    }
    !(($1 "\t" $2) in ok) {
      printf "%s: %s from %s is not on the allowlist\n", bin, $2, $1
    }' <(printf '%s\n' "$allowed") <(printf '%s\n' "$imports"))

  if [ -n "$bad" ]; then
    printf '%s\n' "$bad" >&2
    failed=1
  fi
  summary+=("$bin $(printf '%s\n' "$imports" | wc -l)")
done

if [ ${#summary[@]} -eq 0 ]; then
  echo "check-imports: none of ${shipped[*]} found in $build" >&2
  exit 2
fi
if [ $failed -ne 0 ]; then
  echo "check-imports: FAILED; see the lines above" >&2
  exit 1
fi
joined=$(printf '%s, ' "${summary[@]}")
echo "imports: ${joined%, } functions, all present on Windows 95, 98, ME and NT 4 (NT-only binaries: NT 4)"
