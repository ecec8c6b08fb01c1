#!/usr/bin/env bash
# Installs what is missing, builds Relicor and runs the main job on the bundled sample pool.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/build.sh
echo
echo "== relicor-cli dump examples/pool/KingsSword.ITM"
build/relicor-cli dump examples/pool/KingsSword.ITM
