#!/usr/bin/env bash
# Builds an optimised tree in build-bench/ and times each pool command as a keeper runs it: the
# whole relicor-cli process (`relicor-cli ... export POOL`) against the floor, a plain C program
# that only reads every item file and sidecar once and writes as many bytes as the command's
# output holds (../shared/bench/floor.c beside the repository, built here; the rename run's floor,
# bench/rename-floor.c, reads and renames every file once). The two take turns, warm cache; the
# table gives the medians of wall clock, user and system time of both, their ratio, the time per
# item and relicor-cli's peak memory (bytes per item: above its peak over a pool of one item).
#
#   scripts/bench.sh                 10,000 and 100,000 items, 3 runs of each
#   BENCH_SIZES="10000 100000 1000000" BENCH_RUNS=5 scripts/bench.sh
#   BENCH_COMMANDS="export publish" scripts/bench.sh
#       (export publish dupecheck rename verify; verify-edited: items one field off the game's;
#        verify-dir, verify-edited-dir: the pool's directory as the one argument, for a million items)
#   BENCH_STRACE=1 scripts/bench.sh  also the system calls per item of relicor-cli and the floor
#                                    (strace -f -c) for BENCH_STRACE_COMMANDS at the first size
#   BENCH_IN_PROCESS=1 scripts/bench.sh   also the earlier table: each command through the session
#                                    inside the benchmark, and the rename run's naming alone
#   BENCH_BUILD=DIR BENCH_NO_BUILD=1 scripts/bench.sh   (programs built elsewhere)
#   BENCH_COMPARE=DIR scripts/bench.sh   (relicor-cli in DIR, say an earlier version, runs its own
#                                         series before each series of this one)
#   BENCH_FLOOR_SOURCE=FILE          the floor's source (default: ../shared/bench/floor.c, beside
#                                    the repository or, from a git worktree, beside its main checkout)
#   BENCH_GUI=0 scripts/bench.sh     without the GUI list (otherwise the main window shows a
#                                    directory of the largest size, offscreen, in build-bench-gui/)
#
# Pools are generated once under ${RELICOR_BENCH_DIR:-/tmp/relicor-bench} (one item in three with
# a sidecar). Run it under nice on a shared machine; the load average is printed with the results.
set -euo pipefail
cd "$(dirname "$0")/.."

sizes=${BENCH_SIZES:-"10000 100000"}
runs=${BENCH_RUNS:-3}
commands=${BENCH_COMMANDS:-"export publish dupecheck rename verify"}
strace_commands=${BENCH_STRACE_COMMANDS:-"export publish dupecheck"}
dir=${RELICOR_BENCH_DIR:-/tmp/relicor-bench}
floor_source=${BENCH_FLOOR_SOURCE:-../shared/bench/floor.c}
if [ -z "${BENCH_FLOOR_SOURCE:-}" ] && [ ! -f "$floor_source" ]; then
  # A git worktree elsewhere: beside the main checkout, then.
  common=$(git rev-parse --path-format=absolute --git-common-dir 2>/dev/null || true)
  [ -n "$common" ] && floor_source="$(dirname "$common")/../shared/bench/floor.c"
fi

if [ ! -f "$floor_source" ]; then
  echo "bench: no floor: $floor_source is missing (set BENCH_FLOOR_SOURCE)" >&2
  exit 1
fi
if [ -z "${BENCH_NO_BUILD:-}" ]; then
  bash scripts/install-deps.sh >/dev/null
  launcher=()
  if command -v ccache >/dev/null; then  # as scripts/build.sh: work trees share compiled objects
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DRELICOR_BUILD_GUI=OFF "${launcher[@]}" >/dev/null
  cmake --build build-bench --target relicor-bench relicor-cli -j2 >/dev/null
fi
build=${BENCH_BUILD:-build-bench}
bench=$build/relicor-bench
# The floors: plain C, optimised as a careful C programmer would build them.
mkdir -p "$build/floors" "$dir"
cc -O2 -o "$build/floors/floor" "$floor_source"
cc -O2 -o "$build/floors/rename-floor" bench/rename-floor.c
absolute() { case "$1" in /*) echo "$1" ;; *) echo "$PWD/$1" ;; esac; }
floors=(--floor "$(absolute "$build/floors/floor")" --rename-floor "$(absolute "$build/floors/rename-floor")")

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)   cores: $(nproc)   runs: $runs"
echo
echo "Whole process: relicor-cli against the floor, medians (seconds; user and system time of each)"
printf '%-9s %-13s %8s %8s %6s %6s %8s %6s %6s %6s %8s %7s %7s   %s\n' programs command items "cli s" user sys \
  "floor s" user sys ratio "us/item" "peakMiB" "B/item" "(ratio of each run)"
programs="this=$(absolute "$build/relicor-cli")"
[ -n "${BENCH_COMPARE:-}" ] && programs="compared=$(absolute "$BENCH_COMPARE/relicor-cli") $programs"
for n in $sizes; do
  for what in $commands; do
    for p in $programs; do
      "$bench" whole "$what" "$n" "$dir" --cli "${p#*=}" "${floors[@]}" --runs "$runs" | sed "s/^/$(printf '%-9s' "${p%%=*}") /"
    done
  done
done

if [ -n "${BENCH_STRACE:-}" ]; then
  n=$(echo "$sizes" | tr ' ' '\n' | head -1)
  echo
  for what in $strace_commands; do
    "$bench" strace "$what" "$n" "$dir" --cli "$(absolute "$build/relicor-cli")" "${floors[@]}"
  done
fi

if [ -n "${BENCH_IN_PROCESS:-}" ]; then
  echo
  echo "In process: each command through the session, the floor measured right after it; medians"
  log=$(mktemp)
  for n in $sizes; do
    for what in $commands; do
      case $what in verify-edited | verify-dir | verify-edited-dir) continue ;; esac
      for ((r = 0; r < runs; r++)); do "$bench" "$what" "$n" "$dir" >>"$log"; done
    done
  done
  printf '%-10s %8s %10s %10s %8s   %s\n' command items "median s" "floor s" ratio "(ratio of each run)"
  # Fields of a log line: what N "items:" seconds "s" "floor" floor "s" "ratio" ratio
  awk '
    { key = $1 " " $2; n[key]++; s[key, n[key]] = $4; f[key, n[key]] = $7; q[key, n[key]] = $10;
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
        printf "%-10s %8d %10.3f %10.3f %8.2f   (%s)\n", p[1], p[2], median(s, key, n[key]), median(f, key, n[key]), median(q, key, n[key]), substr(all, 2)
      }
    }' "$log"
  rm -f "$log"
  # The rename run's naming alone, without files: the time per item stays flat as the count grows.
  for n in $sizes; do "$bench" names "$n"; done
fi

# The GUI file list: the main window shows a directory of as many files as the largest pool.
if [ "${BENCH_GUI:-1}" != 0 ]; then
  echo
  largest=$(echo "$sizes" | tr ' ' '\n' | sort -n | tail -1)
  if [ -z "${BENCH_NO_BUILD:-}" ]; then
    cmake -S . -B build-bench-gui -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
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
