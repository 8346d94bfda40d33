#!/usr/bin/env bash
# Installs everything the build, the tests and the tools need on Debian 12, and
# fetches the source of libjpeg-turbo that the Windows cross builds compile.
set -euo pipefail
cd "$(dirname "$0")/.."
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
packages=(
  cmake ninja-build g++ pkg-config dpkg-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libpng-dev zlib1g-dev libtiff-dev libcli11-dev
  libopenimageio-dev openimageio-tools
  libjpeg62-turbo-dev libjpeg-turbo-progs libimage-exiftool-perl
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  icoutils wine64
  xvfb xdotool fonts-liberation fonts-wine libxrender1 libxcursor1 zip
  clang libclang-rt-14-dev
  locales
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Wine's 32-bit loader runs the x86 plug-in in the Windows checks; it comes from
# Debian's i386 architecture. Without it the x86 plug-in is only built.
if ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
    $SUDO apt-get update
  fi
  $SUDO apt-get install -y --no-install-recommends wine32:i386 ||
    echo "wine32 did not install: the x86 plug-in will be built but not run"
fi

bash scripts/fetch_libjpeg_source.sh
