#!/usr/bin/env bash
# Runs clang-tidy 14 with the checks of .clang-tidy over every C++ file of src/ in the compile
# database of a build directory (default build/, as scripts/build.sh makes it; the GUI's files are
# checked when it was built with the GUI, which their generated Qt headers need). Every finding is
# listed; one beyond those counted in scripts/tidy-known.txt fails (exit status 1). Tests, benchmarks and fuzz harnesses are
# not checked: gtest's macros and the fixtures' public members read differently by design.
#
#   scripts/check-tidy.sh [BUILD_DIR]     TIDY_JOBS=N (default: the number of processors)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
jobs=${TIDY_JOBS:-$(nproc)}
tidy=clang-tidy-14
runner=run-clang-tidy-14
command -v "$tidy" >/dev/null || tidy=clang-tidy
command -v "$runner" >/dev/null || runner=run-clang-tidy
if ! "$tidy" --version 2>/dev/null | grep -q "version 14\."; then
  echo "check-tidy: clang-tidy 14 is needed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
if [ ! -f "$build/compile_commands.json" ]; then
  echo "check-tidy: no $build/compile_commands.json: build first (scripts/build.sh)" >&2
  exit 1
fi
# The GUI's sources include headers Qt's tools generate during the build.
if grep -q '"file": "[^"]*/src/gui/' "$build/compile_commands.json" && [ ! -d "$build/src/gui/relicor_gui_autogen" ]; then
  echo "check-tidy: build $build first: the GUI's generated headers are missing" >&2
  exit 1
fi

start=$SECONDS
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# Only the tree's own sources: the build directory's generated files (moc) are not ours.
status=0
"$runner" -quiet -clang-tidy-binary "$(command -v "$tidy")" -p "$build" -j "$jobs" \
  "^$PWD/src/.*\.cpp\$" >"$log" 2>&1 || status=$?
# run-clang-tidy 14 asks for colours; the findings are read without them.
sed -i 's/\x1b\[[0-9;]*m//g' "$log"
warnings=$(grep -E '^/[^:]+:[0-9]+:[0-9]+: (warning|error):' "$log" | sort -u | sed "s|^$PWD/||" || true)
if [ "$status" -ne 0 ] && [ -z "$warnings" ]; then
  cat "$log" >&2
  exit 1
fi
# Findings still to be fixed are listed in scripts/tidy-known.txt (FILE CHECK COUNT); a file with
# more findings of a check than listed there fails, and so does any finding not listed.
known=scripts/tidy-known.txt
[ "${RELICOR_TIDY_STRICT:-0}" = 1 ] && known=/dev/null
if [ -n "$warnings" ]; then
  echo "check-tidy: $(wc -l <<<"$warnings") findings:" >&2
  cat <<<"$warnings" >&2
fi
over=$(sed -nE 's/^([^:]+):[0-9]+:[0-9]+: .*\[([^]]+)\]$/\1 \2/p' <<<"$warnings" | sort | uniq -c |
  awk -v known="$known" 'FILENAME == known { if ($0 !~ /^#/ && NF == 3) allowed[$1 " " $2] = $3; next }
       { key = $2 " " $3; if ($1 > allowed[key] + 0) print "  " key ": " $1 " found, " allowed[key] + 0 " known" }' \
    "$known" -)
if [ -n "$over" ]; then
  echo "check-tidy: findings beyond those known in $known:" >&2
  echo "$over" >&2
  exit 1
fi
files=$(grep -c "\"file\": \"$PWD/src/[^\"]*\.cpp\"" "$build/compile_commands.json")
echo "check-tidy: $files files, no finding beyond the known ones, in $((SECONDS - start)) s"
