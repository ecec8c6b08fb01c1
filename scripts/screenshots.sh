#!/usr/bin/env bash
# Writes PNG pictures of every window of the desktop (main window, empty state, data window,
# Members, database, Options, sender list, import dialog, About and a box with details) into
# OUTDIR, drawn offscreen, once per LANGUAGE (Classic, English, Deutsch; default: Classic and every
# language whose translation is built). Prints one line per picture: file, size, what it shows.
# Not part of CI.
set -euo pipefail
if [ $# -lt 1 ]; then
  echo "usage: scripts/screenshots.sh OUTDIR [LANGUAGE...]" >&2
  exit 2
fi
out=$1
shift
cd "$(dirname "$0")/.."
[ -d build ] || bash scripts/build.sh >/dev/null
cmake --build build --target relicor-screenshots >/dev/null
languages=("$@")
if [ ${#languages[@]} -eq 0 ]; then
  languages=(Classic)
  [ -f build/translations/relicor_en.qm ] && languages+=(English)
  [ -f build/translations/relicor_de.qm ] && languages+=(Deutsch)
fi
mkdir -p "$out"
for language in "${languages[@]}"; do
  QT_QPA_PLATFORM=offscreen build/relicor-screenshots "$out" --language "$language"
done
