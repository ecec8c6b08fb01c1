#!/usr/bin/env bash
# Installs what is missing, builds Relicor and runs every test; failing tests show their output.
# Extra arguments go to the CMake configure step.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/build.sh "$@"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$(nproc)"
