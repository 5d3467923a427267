#!/usr/bin/env bash
# The program's includes point one way: the portable base (base/) includes
# nothing else of the project, and the UI wrappers (ui/) and the sweep
# engine (engine/) never include the application (app/) or anything built
# on it. Prints each include that points the wrong way.
set -euo pipefail
cd "$(dirname "$0")/.."

# folder: the project folders it may include from, besides itself
declare -A allowed=(
  [base]=""
  [ui]="base"
  [engine]="base ui"
)
status=0
for folder in "${!allowed[@]}"; do
  while IFS=: read -r file line include; do
    target=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$include")
    [ "$target" = "$folder" ] && continue
    ok=0
    for a in ${allowed[$folder]}; do [ "$target" = "$a" ] && ok=1; done
    if [ $ok = 0 ]; then
      echo "$file:$line: $folder/ must not include $target/:$include" >&2
      status=1
    fi
  done < <(grep -rnE '^\s*#\s*include "[^/"]+/' "$folder" --include='*.h' --include='*.cpp' --include='*.def' || true)
done
[ $status = 0 ] && echo "layers: base/, ui/ and engine/ include only what lies below them"
exit $status
