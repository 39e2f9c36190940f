#!/usr/bin/env bash
# Installs the Debian packages the project needs (only those that are missing) and builds
# build/brasvik-m402 with the program-folder data beside it. Safe to run again and again.
set -euo pipefail
cd "$(dirname "$0")/.."
# ccache keys on paths relative to the checkout, so a fresh clone elsewhere reuses the cache.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"

PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config clang libclang-rt-14-dev
  libjsoncpp-dev libpugixml-dev libcairo2-dev libpango1.0-dev libfontconfig-dev libsdl2-dev
  libcurl4-openssl-dev libudev-dev libsystemd-dev libx11-dev libxi-dev libxtst-dev libasound2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xdotool dbus-daemon dbus-bin umockdev libumockdev-dev
  fonts-noto-core fonts-noto-cjk
  desktop-file-utils appstream dpkg-dev file
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

BUILD_DIR="${BUILD_DIR:-build}"
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$BUILD_DIR"
