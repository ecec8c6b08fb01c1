#!/usr/bin/env bash
# Configures and builds Relicor into build/. Extra arguments go to the CMake configure step.
set -euo pipefail
cd "$(dirname "$0")/.."

gui=ON
if ! dpkg-query -W -f='${Status}' qt6-base-dev 2>/dev/null | grep -q "install ok installed"; then gui=OFF; fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRELICOR_BUILD_GUI=$gui "$@" >/dev/null
cmake --build build -j "$(nproc)"
