#!/usr/bin/env bash
# Configures and builds Relicor into build/. Extra arguments go to the CMake configure step.
# With RELICOR_APPS_ONLY=1 only the two programs are built (no tests, no benchmarks).
set -euo pipefail
cd "$(dirname "$0")/.."

gui=ON
if ! dpkg-query -W -f='${Status}' qt6-base-dev 2>/dev/null | grep -q "install ok installed"; then gui=OFF; fi
launcher=()
if command -v ccache >/dev/null; then
  # Work trees of the same repository share compiled objects.
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRELICOR_BUILD_GUI=$gui "${launcher[@]}" "$@" >/dev/null
targets=()
if [ "${RELICOR_APPS_ONLY:-0}" = 1 ]; then
  targets=(--target relicor-cli)
  if [ "$gui" = ON ]; then targets+=(relicor); fi
fi
cmake --build build -j "$(nproc)" "${targets[@]}"
