#!/usr/bin/env bash
# Configures and builds Relicor into build/. Extra arguments go to the CMake configure step.
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
cmake --build build -j "$(nproc)"
