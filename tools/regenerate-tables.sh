#!/usr/bin/env bash
# Regenerates every table converted from the game's sources, at the revisions the converters pin,
# from fetched snapshots of the two repositories (git checkouts or mirrors whose history holds
# those revisions), and compares each with the file in the tree. Exits 0 when all are the same,
# 1 when any differs (the difference is shown), 2 on wrong use. The tree is left alone unless
# --write is given, which puts the regenerated files in place.
#
#   tools/regenerate-tables.sh [--write] DEVILUTION_GIT_DIR DEVILUTIONX_GIT_DIR
#
# CI has no snapshot and cannot run this; it checks the stamps instead (test
# game_tables_revision_stamp).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

write=0
if [ "${1:-}" = --write ]; then write=1; shift; fi
if [ $# -ne 2 ]; then
  sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
fi
game=$1 devilutionx=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# table in the tree, then the command that writes the regenerated one to $out
regenerate() {
  local table=$1
  shift
  out="$work/$(basename "$table")"
  if ! "$@" 2>"$work/notes"; then
    echo "$table: not regenerated:" >&2
    cat "$work/notes" >&2
    status=1
    return
  fi
  if cmp -s "$out" "$root/$table"; then
    echo "$table: the same"
  else
    echo "$table: differs from the regenerated table:"
    diff -u --label "$table (tree)" --label "$table (regenerated)" "$root/$table" "$out" | head -200 || true
    status=1
    if [ $write = 1 ]; then cp "$out" "$root/$table" && echo "$table: replaced"; fi
  fi
}

status=0
convert_game_data() { python3 "$root/tools/convert_game_data.py" "$game" >"$out"; }
convert_pack_items() {
  cp "$root/tests/support/GameItems.cpp" "$out"
  python3 "$root/tools/convert-pack-items.py" "$devilutionx" "$game" "$out"
}
regenerate src/generate/GameData109.h convert_game_data
regenerate tests/support/GameItems.cpp convert_pack_items
exit $status
