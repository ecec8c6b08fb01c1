#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build and test Relicor.
# Safe to run again: packages already present are left alone.
# clang and its runtime libraries build the fuzz harnesses (scripts/fuzz.sh); llvm brings
# llvm-symbolizer, which turns sanitizer reports into file and line numbers. clang-format (14 on
# this Debian) checks the tree's format (scripts/check-format.sh), clang-tidy (14) its habits
# (scripts/check-tidy.sh). python3-markdown makes the HTML manual from the README. The Qt 6 tools
# build the translations of the windows (lupdate, lrelease). chromium, chromium-driver and
# python3-selenium run the search page's browser tests (tests/browser). liburing-dev lets the
# commands read a pool's files in batches (io_uring).
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libgtest-dev libgmock-dev googletest
  nlohmann-json3-dev libcli11-dev
  libstorm-dev liburing-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
  xvfb xauth
  help2man file dpkg-dev python3-markdown
  clang libclang-rt-dev llvm clang-format clang-tidy
  time
  chromium chromium-driver python3-selenium
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
