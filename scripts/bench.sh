#!/usr/bin/env bash
# Builds an optimised tree in build-bench/ and runs the benchmarks over synthetic pools
# (10,000 and 100,000 items; generated once under ${RELICOR_BENCH_DIR:-/tmp/relicor-bench}).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DRELICOR_BUILD_GUI=OFF >/dev/null
cmake --build build-bench --target relicor-bench
dir=${RELICOR_BENCH_DIR:-/tmp/relicor-bench}
bench=build-bench/relicor-bench
for n in 10000 100000; do
  "$bench" export "$n" "$dir"
  "$bench" publish "$n" "$dir"
done
"$bench" dupecheck 100000 "$dir"
"$bench" rename 10000 "$dir"
"$bench" verify 100000 "$dir"
