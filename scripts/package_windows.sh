#!/usr/bin/env bash
# Builds both Windows plug-ins and packs them, with the install text, into
# build/Corvanthe-VERSION-windows.zip (x64/Corvanthe.8bf, x86/Corvanthe.8bf, INSTALL.txt).
# Usage: scripts/package_windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(sed -n 's/^project(Corvanthe VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
for preset in mingw64 mingw32; do
  [ -f "build/$preset/build.ninja" ] || cmake --preset "$preset" > /dev/null
  cmake --build --preset "$preset" --target corvanthe
done
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/x64" "$stage/x86"
cp build/mingw64/Corvanthe.8bf "$stage/x64/"
cp build/mingw32/Corvanthe.8bf "$stage/x86/"
cp resources/win32/INSTALL.txt "$stage/"
archive="$PWD/build/Corvanthe-$version-windows.zip"
rm -f "$archive"
(cd "$stage" && zip -q -X -r "$archive" x64 x86 INSTALL.txt)
echo "$archive"
