#!/usr/bin/env bash
# Installs the Debian packages the game needs to build, run, test and package.
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
  qt6-translations-l10n
  desktop-file-utils appstream lintian
  clang libclang-rt-14-dev
)

# Without Debian's package tools: say what the build needs and let it go on;
# CMake stops with a clear message if something is missing after all.
if ! command -v dpkg-query >/dev/null || ! command -v apt-get >/dev/null; then
  echo "setup: no apt here; the build needs (Debian names): ${PACKAGES[*]}" >&2
  for tool in cmake pkg-config make c++; do
    if ! command -v "$tool" >/dev/null; then
      echo "setup: $tool is missing; install it first" >&2
      exit 1
    fi
  done
  exit 0
fi

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
