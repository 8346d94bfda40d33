#!/usr/bin/env bash
# Fetches Debian's source of libjpeg-turbo into build/third_party/ (never committed):
# the Windows cross builds compile it for each target. Enables Debian's source
# entries first when the machine has only binary ones.
set -euo pipefail
cd "$(dirname "$0")/.."
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
third_party=build/third_party
if compgen -G "$third_party/libjpeg-turbo-*/CMakeLists.txt" >/dev/null; then
  exit 0
fi

have_sources() { apt-get source --print-uris libjpeg-turbo >/dev/null 2>&1; }
if ! have_sources; then
  changed=0
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    # deb822 stanzas: "Types: deb" becomes "Types: deb deb-src".
    if grep -qE '^Types:[[:space:]]*deb[[:space:]]*$' "$f"; then
      $SUDO sed -i -E 's/^Types:[[:space:]]*deb[[:space:]]*$/Types: deb deb-src/' "$f"
      changed=1
    fi
  done
  if [ -f /etc/apt/sources.list ] && ! grep -qE '^deb-src ' /etc/apt/sources.list; then
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | $SUDO tee -a /etc/apt/sources.list >/dev/null
    changed=1
  fi
  [ "$changed" -eq 0 ] || $SUDO apt-get update
fi

mkdir -p "$third_party"
# Unpacking needs only dpkg-source; --download-only plus an explicit extract keeps
# apt from trying to drop privileges into a folder its sandbox user cannot write.
(cd "$third_party" && apt-get source --download-only libjpeg-turbo && dpkg-source -x libjpeg-turbo_*.dsc)
compgen -G "$third_party/libjpeg-turbo-*/CMakeLists.txt" >/dev/null
