#!/usr/bin/env bash
# Builds the GIMP 2.10 plug-in (the optimised default preset) and installs it for the
# current user: the plug-in program, the filter module and the dialog's Qt module beside it, in
# ~/.config/GIMP/2.10/plug-ins/corvanthe/ (or $GIMP2_DIRECTORY/plug-ins/corvanthe/).
# GIMP then shows it as Filters > Light and Shadow > Corvanthe... (restart GIMP first).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default
cmake --build --preset default --target corvanthe_gimp
folder="${GIMP2_DIRECTORY:-$HOME/.config/GIMP/2.10}/plug-ins/corvanthe"
mkdir -p "$folder"
install -m 755 build/default/apps/gimp/gimp-plug-in/corvanthe "$folder/corvanthe"
install -m 644 build/default/apps/gimp/gimp-plug-in/libcorvanthe.so "$folder/libcorvanthe.so"
# The dialog's Qt module, where Qt is installed (without it the interactive mode runs with the last settings).
qt_module=build/default/apps/gimp/gimp-plug-in/libcorvanthe_qt.so
if [ -f "$qt_module" ]; then install -m 644 "$qt_module" "$folder/libcorvanthe_qt.so"; fi
echo "installed the GIMP plug-in in $folder"
