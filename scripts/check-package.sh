#!/usr/bin/env bash
# Builds the Debian package from a configured and built tree (default build/), unpacks it into a
# temporary root as dpkg would install it, and checks that the installed relicor-cli runs and the
# desktop files are in place. Prints the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null)
deb=$(ls "$work"/out/relicor_*.deb)
dpkg-deb --info "$deb" >/dev/null
dpkg-deb -x "$deb" "$work/root"

fail() { echo "check-package: $*" >&2; exit 1; }
cli="$work/root/usr/bin/relicor-cli"
[ -x "$cli" ] || fail "relicor-cli is not installed in /usr/bin"
version=$("$cli" --version) || fail "the installed relicor-cli --version failed"
[ "$version" = "relicor-cli $(sed -n 's/^project(Relicor VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)" ] ||
  fail "unexpected version: $version"
if file "$cli" | grep -q "not stripped"; then fail "relicor-cli is not stripped"; fi
for f in usr/share/mime/packages/relicor-item.xml usr/share/metainfo/relicor.metainfo.xml; do
  [ -f "$work/root/$f" ] || fail "$f is missing"
done
if [ -f "$build/relicor" ]; then
  for f in usr/bin/relicor usr/share/applications/relicor.desktop \
           usr/share/icons/hicolor/scalable/apps/relicor.svg usr/share/man/man1/relicor.1 \
           usr/share/relicor/translations/relicor_en.qm usr/share/relicor/translations/relicor_de.qm; do
    [ -e "$work/root/$f" ] || fail "$f is missing"
  done
fi
if command -v help2man >/dev/null; then
  [ -f "$work/root/usr/share/man/man1/relicor-cli.1" ] || fail "the relicor-cli man page is missing"
fi
mkdir -p "$build/package"
cp "$deb" "$build/package/"
echo "check-package: $(basename "$deb") installs; $version"
