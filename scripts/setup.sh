#!/usr/bin/env bash
# Installs what the build needs on Debian 12, by set:
#   bash scripts/setup.sh command   the corvanthe command and the plug-in module only
#   bash scripts/setup.sh gimp      the command's set and what the GIMP plug-in needs
#   bash scripts/setup.sh           everything: tests, tools, cross builds, Wine, fuzzing
# Everything also fetches the source of libjpeg-turbo that the Windows cross builds compile.
set -euo pipefail
cd "$(dirname "$0")/.."
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive

# The corvanthe command: compiler, build tools and its image libraries.
command_packages=(
  g++ cmake ninja-build pkg-config
  zlib1g-dev libpng-dev libtiff-dev libjpeg62-turbo-dev libopenexr-dev libcli11-dev
)
# The GIMP plug-in links GIMP's own library; GIMP runs it (and its batch check).
gimp_packages=(
  libgimp2.0-dev gimp
)
# Tests, benchmarks, the page checks, the cross builds, Wine and fuzzing.
everything_packages=(
  dpkg-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libopenimageio-dev openimageio-tools
  libjpeg-turbo-progs libimage-exiftool-perl chromium
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  icoutils wine64
  xvfb xdotool fonts-liberation fonts-wine libxrender1 libxcursor1 zip
  clang libclang-rt-14-dev
  locales
  qt6-base-dev
  xvfb xauth xdotool fonts-liberation fonts-wine libxrender1 libxcursor1 zip
)

# Installs the packages of the list that are not installed yet.
install_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
}

# Wine's 32-bit loader runs the x86 plug-in in the Windows checks; it comes from
# Debian's i386 architecture. Without it the x86 plug-in is only built.
install_wine32() {
  if ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      $SUDO dpkg --add-architecture i386
      $SUDO apt-get update
    fi
    $SUDO apt-get install -y --no-install-recommends wine32:i386 ||
      echo "wine32 did not install: the x86 plug-in will be built but not run"
  fi
}

case "${1:-}" in
  command)
    install_packages "${command_packages[@]}"
    ;;
  gimp)
    install_packages "${command_packages[@]}" "${gimp_packages[@]}"
    ;;
  "")
    install_packages "${command_packages[@]}" "${gimp_packages[@]}" "${everything_packages[@]}"
    install_wine32
    bash scripts/fetch_libjpeg_source.sh
    ;;
  *)
    echo "usage: bash scripts/setup.sh [command|gimp]" >&2
    exit 2
    ;;
esac
