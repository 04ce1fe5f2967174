#!/usr/bin/env bash
# Installs the Debian packages Kavrex builds and runs with, non-interactively.
# Does nothing (and needs no network) when every package is already there.
#   setup.sh run   what kavrex-sim and the plug-in need (make run)
#   setup.sh       that and what the tests, benchmarks, the Windows check and fuzzing need
set -euo pipefail

# The program and the plug-in: the build tools, Cairo, ERFA, the display font, SDL2 (the live
# window).
PACKAGES=(
  cmake ninja-build g++ make pkg-config
  libcairo2-dev liberfa-dev fonts-dejavu-core
  libsdl2-dev
)
if [ "${1:-all}" != run ]; then
  # Tests and benchmarks, the Windows compile check, the fuzzers (Clang), the layout check, the
  # live window's test on a virtual display.
  PACKAGES+=(
    libgtest-dev libgmock-dev libbenchmark-dev clang-format
    g++-mingw-w64-x86-64
    clang libclang-rt-14-dev
    xvfb xdotool imagemagick
  )
fi

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
