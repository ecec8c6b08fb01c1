#!/usr/bin/env bash
# Runs clang-tidy 14 with the checks of .clang-tidy over every C++ file of src/ in the compile
# database of a build directory (default build/, as scripts/build.sh makes it; the GUI's files are
# checked when it was built with the GUI, which their generated Qt headers need), or over the
# files named after it. Every finding is listed, and any finding fails (exit status 1). Tests,
# benchmarks and fuzz harnesses are not checked: gtest's macros and the fixtures' public members
# read differently by design.
#
#   scripts/check-tidy.sh [BUILD_DIR [FILE.cpp...]]     TIDY_JOBS=N (default: the number of processors)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
[ $# -gt 0 ] && shift
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

# Only the tree's own sources: the build directory's generated files (moc) are not ours.
pattern="^$PWD/src/.*\.cpp\$"
files=$(grep -c "\"file\": \"$PWD/src/[^\"]*\.cpp\"" "$build/compile_commands.json")
if [ $# -gt 0 ]; then
  pattern=""
  for file in "$@"; do
    path=$(realpath -m "$file")
    if ! grep -qF "\"file\": \"$path\"" "$build/compile_commands.json"; then
      echo "check-tidy: $file is not a source file of $build" >&2
      exit 1
    fi
    pattern+="${pattern:+|}^$(sed 's/[.[\*^$+?(){}|]/\\&/g' <<<"$path")\$"
  done
  files=$#
fi

start=$SECONDS
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
"$runner" -quiet -clang-tidy-binary "$(command -v "$tidy")" -p "$build" -j "$jobs" "$pattern" >"$log" 2>&1 ||
  status=$?
# run-clang-tidy 14 asks for colours; the findings are read without them.
sed -i 's/\x1b\[[0-9;]*m//g' "$log"
findings=$(grep -E '^/[^:]+:[0-9]+:[0-9]+: (warning|error):' "$log" | sort -u | sed "s|^$PWD/||" || true)
if [ -n "$findings" ]; then
  echo "check-tidy: $(wc -l <<<"$findings") findings:" >&2
  cat <<<"$findings" >&2
  exit 1
fi
if [ "$status" -ne 0 ]; then
  cat "$log" >&2
  exit 1
fi
echo "check-tidy: $files files, no finding, in $((SECONDS - start)) s"
