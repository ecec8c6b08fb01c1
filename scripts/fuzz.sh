#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ with clang into build-fuzz/ and runs each of them for
# SECONDS (default 600), one after the other, at low priority. Prints the executions and the
# findings of every harness; exits 1 when any harness found something. SECONDS 0 only runs each
# harness over its seeds (CI does this, so the harnesses keep building and passing).
#
#   scripts/fuzz.sh [SECONDS] [HARNESS...]      harnesses: item_report ini ident_id players dates journal
#
# Under build-fuzz/fuzz/: seeds/ (written by make-fuzz-seeds from the record builder), corpus/
# (what the fuzzer keeps; it grows from run to run), findings/<harness>/ (inputs that crashed or
# broke an expectation; replay one with build-fuzz/fuzz/fuzz_<harness> FILE), logs/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
shift || true
harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then harnesses=(item_report ini ident_id players dates journal); fi

bash scripts/install-deps.sh
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DRELICOR_BUILD_FUZZERS=ON -DRELICOR_BUILD_TESTS=OFF -DRELICOR_BUILD_GUI=OFF "${launcher[@]}" >/dev/null
nice -n 10 cmake --build build-fuzz --target relicor_fuzzers -j "$(nproc)"

out=build-fuzz/fuzz
"$out/make-fuzz-seeds" "$out/seeds"
mkdir -p "$out/logs"

# The harnesses write their files (and libFuzzer its job files) into memory where there is some.
scratch_base=/tmp
if [ -d /dev/shm ] && [ -w /dev/shm ]; then scratch_base=/dev/shm; fi
scratch=$(mktemp -d "$scratch_base/relicor-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export TMPDIR="$scratch"
export UBSAN_OPTIONS=print_stacktrace=1

total_findings=0
summary=()
for h in "${harnesses[@]}"; do
  if [ ! -x "$out/fuzz_$h" ]; then
    echo "fuzz: no harness named $h" >&2
    exit 2
  fi
  corpus="$out/corpus/$h"
  findings="$out/findings/$h"
  log="$out/logs/$h.log"
  mkdir -p "$corpus" "$findings"
  before=$(find "$findings" -type f | wc -l)
  if [ "$seconds" -eq 0 ]; then
    if "$out/fuzz_$h" -runs=0 "$out/seeds/$h" >"$out/logs/$h.seeds.log" 2>&1; then
      echo "fuzz: $h passes its $(find "$out/seeds/$h" -type f | wc -l) seeds"
    else
      echo "fuzz: $h fails on a seed:"
      grep -ahE 'SUMMARY: |expectation failed|ERROR' "$out/logs/$h.seeds.log" | sed 's/^/    /' || true
      total_findings=$((total_findings + 1))
    fi
    continue
  fi
  echo "fuzz: $h for $seconds s"
  # Fork mode with one job goes on after a finding, so the run lasts its time and counts them all.
  nice -n 10 "$out/fuzz_$h" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$corpus" "$out/seeds/$h" >"$log" 2>&1 || true
  after=$(find "$findings" -type f | wc -l)
  found=$((after - before))
  total_findings=$((total_findings + found))
  executions=$(grep -aoE '^#[0-9]+' "$log" | tail -1 | tr -d '#')
  corpus_size=$(find "$corpus" -type f | wc -l)
  line=$(printf '%-12s %12s executions  %3d findings  corpus %d' "$h" "${executions:-0}" "$found" "$corpus_size")
  summary+=("$line")
  echo "$line"
  # What the findings were: sanitizer summaries and broken expectations, each once.
  grep -ahE 'SUMMARY: |expectation failed' "$log" | sort | uniq -c | sed 's/^/    /' || true
done

if [ ${#summary[@]} -ne 0 ]; then
  echo
  echo "fuzz: $seconds s per harness"
  printf '%s\n' "${summary[@]}"
fi
if [ "$total_findings" -ne 0 ]; then
  echo "fuzz: $total_findings findings, inputs under $out/findings/"
  exit 1
fi
