#!/usr/bin/env bash
# Installs the Debian packages the game needs to build, run and test.
# Skips what is already installed; uses sudo when not run as root.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config make
  qt6-base-dev
  libfluidsynth-dev timgm6mb-soundfont
  libgtest-dev libbenchmark-dev
  nlohmann-json3-dev libcli11-dev
  fonts-ipafont-gothic
  libgif-dev
  clang-format
  clang libclang-rt-14-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

SUDO=""
if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
