#!/usr/bin/env bash
# Checks that every tracked C++ file is formatted as .clang-format says (clang-format 14, the
# version the tree is formatted with; others break lines differently). Lists the files that are
# not and exits 1; `clang-format -i FILE` mends one.
set -euo pipefail
cd "$(dirname "$0")/.."

format=clang-format-14
command -v "$format" >/dev/null || format=clang-format
if ! "$format" --version 2>/dev/null | grep -q "version 14\."; then
  echo "check-format: clang-format 14 is needed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
# One run over all of them; each place that differs is reported as FILE:LINE:COLUMN: error: ...
if report=$("$format" --dry-run --Werror "${files[@]}" 2>&1); then
  echo "check-format: ${#files[@]} files formatted"
  exit 0
fi
unformatted=$(grep -oE '^[^:]+:[0-9]+:[0-9]+: error' <<<"$report" | cut -d: -f1 | sort -u || true)
if [ -z "$unformatted" ]; then  # clang-format itself failed
  echo "$report" >&2
else
  echo "check-format: not formatted (clang-format -i FILE):" >&2
  sed 's/^/  /' <<<"$unformatted" >&2
fi
exit 1
