#!/usr/bin/env bash
# Builds an optimised tree in build-bench/ and times each pool command against its floor (reading
# every item file and sidecar once, single-threaded, and writing as many bytes as the output
# holds), measured in the same process right after the command: paired runs, medians.
# Then the peak memory of relicor-cli for export and publish (/usr/bin/time -v).
#
#   scripts/bench.sh                 10,000 and 100,000 items, 3 paired runs each
#   BENCH_SIZES="10000 100000 1000000" BENCH_RUNS=5 scripts/bench.sh
#   BENCH_COMMANDS="export publish" scripts/bench.sh
#   BENCH_BUILD=DIR BENCH_NO_BUILD=1 scripts/bench.sh   (programs built elsewhere)
#   BENCH_COMPARE=DIR scripts/bench.sh   (the programs in DIR, say an earlier version, run in turn
#                                         with these, run for run, under the same load)
#   BENCH_GUI=0 scripts/bench.sh     without the GUI list (otherwise the main window shows a
#                                    directory of the largest size, offscreen, in build-bench-gui/)
#
# Pools are generated once under ${RELICOR_BENCH_DIR:-/tmp/relicor-bench} (one item in three with
# a sidecar). Run it under nice on a shared machine; the load average is printed with the results.
set -euo pipefail
cd "$(dirname "$0")/.."

sizes=${BENCH_SIZES:-"10000 100000"}
runs=${BENCH_RUNS:-3}
commands=${BENCH_COMMANDS:-"export publish dupecheck rename"}
dir=${RELICOR_BENCH_DIR:-/tmp/relicor-bench}

if [ -z "${BENCH_NO_BUILD:-}" ]; then
  bash scripts/install-deps.sh >/dev/null
  cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DRELICOR_BUILD_GUI=OFF >/dev/null
  cmake --build build-bench --target relicor-bench relicor-cli -j2 >/dev/null
fi
build=${BENCH_BUILD:-build-bench}
bench=$build/relicor-bench
mkdir -p "$dir"
log=$(mktemp)
trap 'rm -f "$log"' EXIT

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)   cores: $(nproc)"
# Paired runs: each line of the bench is one run of the command and, right after it, the floor.
programs="this=$bench"
[ -n "${BENCH_COMPARE:-}" ] && programs="compared=$BENCH_COMPARE/relicor-bench $programs"
for n in $sizes; do
  for what in $commands; do
    for ((r = 0; r < runs; r++)); do
      for p in $programs; do
        "${p#*=}" "$what" "$n" "$dir" | sed "s/^/${p%%=*} /" >>"$log"
      done
    done
  done
done

echo
printf '%-9s %-10s %8s %10s %10s %8s   %s\n' programs command items "median s" "floor s" ratio "(ratio of each run)"
# Fields of a log line: programs what N "items:" seconds "s" "floor" floor "s" "ratio" ratio
awk '
  { key = $1 " " $2 " " $3; n[key]++; s[key, n[key]] = $5; f[key, n[key]] = $8; q[key, n[key]] = $11;
    if (!(key in seen)) { seen[key] = 1; order[++k] = key } }
  function median(a, key, count,   v, i, j, t) {
    for (i = 1; i <= count; i++) v[i] = a[key, i]
    for (i = 1; i <= count; i++) for (j = i + 1; j <= count; j++) if (v[j] < v[i]) { t = v[i]; v[i] = v[j]; v[j] = t }
    return count % 2 ? v[(count + 1) / 2] : (v[count / 2] + v[count / 2 + 1]) / 2
  }
  END {
    for (i = 1; i <= k; i++) {
      key = order[i]; split(key, p, " "); all = ""
      for (j = 1; j <= n[key]; j++) all = all " " q[key, j]
      printf "%-9s %-10s %8d %10.3f %10.3f %8.2f   (%s)\n", p[1], p[2], p[3], median(s, key, n[key]), median(f, key, n[key]), median(q, key, n[key]), substr(all, 2)
    }
  }' "$log"

# Peak memory: relicor-cli on the same pools, less what it takes on an empty pool.
echo
mkdir -p "$dir/home" "$dir/empty"
peak() {  # peak resident kilobytes of one run of relicor-cli $1 on pool $2: command $3
  /usr/bin/time -v "$1" --home "$dir/home" --pool "$2" --sent "$dir/no-sent" --no-subdirs "$3" "$2" \
    2>&1 >/dev/null | awk '/Maximum resident set size/ { print $6 }'
}
printf '%-9s %-10s %8s %12s %16s\n' programs command items "peak KiB" "bytes per item"
for p in $programs; do
  cli="$(dirname "${p#*=}")/relicor-cli"
  for what in export publish; do
    base=$(peak "$cli" "$dir/empty" "$what")
    for n in $sizes; do
      pool="$dir/pool-$n"
      [ -d "$pool" ] || continue
      kib=$(peak "$cli" "$pool" "$what")
      printf '%-9s %-10s %8d %12d %16.0f\n' "${p%%=*}" "$what" "$n" "$kib" "$(( (kib - base) * 1024 / n ))"
    done
  done
done
# The GUI file list: the main window shows a directory of as many files as the largest pool.
if [ "${BENCH_GUI:-1}" != 0 ]; then
  echo
  largest=$(echo "$sizes" | tr ' ' '\n' | sort -n | tail -1)
  if [ -z "${BENCH_NO_BUILD:-}" ]; then
    cmake -S . -B build-bench-gui -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build-bench-gui --target relicor-gui-list-bench -j2 >/dev/null
  fi
  gui=${BENCH_GUI_BUILD:-build-bench-gui}/relicor-gui-list-bench
  if [ -x "$gui" ]; then
    QT_QPA_PLATFORM=offscreen "$gui" "$largest" "$((runs > 5 ? runs : 5))" "$dir/gui-$largest"
  else
    echo "no $gui: the GUI list is not measured"
  fi
fi
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
