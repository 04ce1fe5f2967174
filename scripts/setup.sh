#!/usr/bin/env bash
# Installs the Debian packages Kavrex builds and runs with, non-interactively.
# Does nothing (and needs no network) when every package is already there.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libcairo2-dev liberfa-dev fonts-dejavu-core
  g++-mingw-w64-x86-64
  clang libclang-rt-14-dev
  libsdl2-dev xvfb xdotool imagemagick
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
