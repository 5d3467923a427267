#!/usr/bin/env bash
# Unix symbolic links that Windows programs cannot make under Wine: for
# each of the trees the engine tests sweep, a file link and a folder link
# that lead to sentinels outside the tree, and a link to the whole tree
# (a root reached through a link, which a sweep takes as named).
# The sentinels lie outside the prefix, in TARNWELL_HOST_SENTINEL (the
# stand-in for the host's files that run_test.sh checks at the end), and
# C:\tw-links\outsideN leads to them: a link followed by mistake reaches
# beyond the prefix, as it would reach the host.
set -euo pipefail
base="$WINEPREFIX/drive_c/tw-links"
host=${TARNWELL_HOST_SENTINEL:?the folder that stands for the host}
rm -rf "$base"
for n in 1 2 3 4 5 6 7 8 9 10 11; do
  mkdir -p "$host/outside$n/folder" "$base/tree$n/sub"
  ln -s "$host/outside$n" "$base/outside$n"
  printf 'sentinel file %s' "$n" > "$host/outside$n/secret.txt"
  printf 'sentinel in folder %s' "$n" > "$host/outside$n/folder/inner.txt"
  printf 'plain' > "$base/tree$n/plain.txt"
  printf 'deep' > "$base/tree$n/sub/deep.txt"
  ln -s "../outside$n/secret.txt" "$base/tree$n/file-link.txt"
  ln -s "../outside$n/folder" "$base/tree$n/folder-link"
  ln -s "tree$n" "$base/root-link$n"
done
# Tree 9 holds an index file that is a link to the sentinel (the index-file
# removers must not reach through it).
ln -s ../outside9/secret.txt "$base/tree9/index.dat"
# Tree 10 is removed whole through the shell: a folder link one level down
# too, as a site folder of the Flash Player would hold it.
ln -s ../../outside10/folder "$base/tree10/sub/nested-link"
