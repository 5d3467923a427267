#!/usr/bin/env bash
# Keeps a Wine prefix from reaching the host's files. A new prefix links the
# profile's Desktop, Documents, Downloads, Music, Pictures, Videos and
# Templates to the host user's home and maps drive Z: to the host's root: a sweep that went
# wrong there would destroy the user's own files, and a drive walk through
# Z: reaches (and can hang on) every mount of the machine.
# Usage: isolate-prefix.sh PREFIX          replaces those links with plain
#                                          folders and removes every drive but C:
#        isolate-prefix.sh --check PREFIX [ROOT]
#                                          fails, naming them, when a link or
#                                          drive of PREFIX leads outside ROOT
#                                          (default PREFIX itself)
set -euo pipefail

# Where every link below ROOT_DIR leads that lies outside it. Serial and
# parallel ports (Wine maps them to /dev at every start) are devices, not
# files, and are let be.
links_outside() {
  local prefix=$1 root link target
  root=$(realpath -m "$2")
  while IFS= read -r -d '' link; do
    case "${link##*/}" in com[0-9]*|lpt[0-9]*) [[ $(readlink "$link") == /dev/* ]] && continue ;; esac
    target=$(realpath -m "$link")
    [[ "$target" == "$root" || "$target" == "$root"/* ]] || printf '%s -> %s\n' "${link#"$prefix"/}" "$target"
  done < <(find "$prefix" -type l -print0)
}

if [ "${1:-}" = --check ]; then
  prefix=$(realpath -m "$2")
  outside=$(links_outside "$prefix" "${3:-$prefix}")
  if [ -n "$outside" ]; then
    echo "*** the prefix $prefix reaches outside ${3:-itself}:" >&2
    echo "$outside" >&2
    exit 1
  fi
  exit 0
fi

prefix=$(realpath -m "$1")
# The profile's folders (Templates too, deeper down) become plain folders.
while IFS= read -r -d '' link; do
  case $(realpath -m "$link") in "$prefix"/*) continue ;; esac
  rm "$link"
  mkdir "$link"
done < <(find "$prefix/drive_c" -type l -print0)
for drive in "$prefix"/dosdevices/*; do
  case "${drive##*/}" in c:|com[0-9]*|lpt[0-9]*) ;; *) rm -f "$drive" ;; esac
done
