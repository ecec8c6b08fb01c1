#!/usr/bin/env bash
# Checks that the windows' translations are complete: every entry of every translations/*.ts file
# has a finished, non-empty translation, and lupdate over the windows' sources finds no text that
# the .ts files lack. Usage: scripts/check-translations.sh [LUPDATE]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
lupdate=${1:-$(command -v lupdate 2>/dev/null || echo /usr/lib/qt6/bin/lupdate)}
status=0

fail() {
  echo "check-translations: $*" >&2
  status=1
}

# Entries that still wait for a translator, or whose translation (or a plural form of it) is empty.
check_complete() {
  local ts=$1 label=$2 count
  count=$(grep -c 'type="unfinished"' "$ts" || true)
  [ "$count" -eq 0 ] || fail "$label: $count unfinished translation(s)"
  count=$(grep -cE '<translation>\s*</translation>|<translation/>|<numerusform>\s*</numerusform>' "$ts" || true)
  [ "$count" -eq 0 ] || fail "$label: $count empty translation(s)"
  grep -q '<message' "$ts" || fail "$label: no entries"
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for ts in "$root"/translations/*.ts; do
  name=$(basename "$ts")
  check_complete "$ts" "$name"
  # A copy brought up to date with the sources: a text the file lacks comes in unfinished.
  cp "$ts" "$work/$name"
  "$lupdate" -silent -no-obsolete -locations none -I "$root/src" "$root/src/gui" -ts "$work/$name" >/dev/null 2>&1 ||
    fail "$name: lupdate failed"
  if grep -q 'type="unfinished"' "$work/$name"; then
    fail "$name: texts in the sources without a translation:"
    grep -B3 'type="unfinished"' "$work/$name" | sed -n 's/.*<source>\(.*\)<\/source>.*/  \1/p' >&2
  fi
done

[ "$status" -eq 0 ] && echo "check-translations: every text translated"
exit "$status"
