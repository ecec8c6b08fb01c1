#!/usr/bin/env bash
# Installs what is missing, builds Relicor and runs the main job on the bundled sample pool:
# the text export and the HTML pages of a copy of examples/ under build/sample/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
RELICOR_APPS_ONLY=1 bash scripts/build.sh

sample=build/sample
rm -rf "$sample"
mkdir -p "$sample"
cp -r examples/pool examples/sent examples/home "$sample/"
cli=(build/relicor-cli --home "$sample/home" --pool "$sample/pool" --sent "$sample/sent" --info)

echo
echo "== text export of the sample pool"
"${cli[@]}" export "$sample/pool"
echo
echo "== the first reports of $sample/pool/ITMLIST.TXT"
head -n 40 "$sample/pool/ITMLIST.TXT" | tr -d '\r'
echo "..."
echo
echo "== HTML pages of the sample pool"
"${cli[@]}" publish "$sample/pool"
