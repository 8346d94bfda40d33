#!/usr/bin/env bash
# `corvanthe edit` on a real X server (run under xvfb-run) driven by real input events from
# xdotool: the window titled "Corvanthe" appears; Return writes the same image as `corvanthe
# render` with the same settings; Escape writes nothing and exits 1. Without any window system
# the command says so and exits 2.
# Usage: xvfb-run -a bash tests/qt/check_edit_under_xvfb.sh path/to/corvanthe
set -euo pipefail
program=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
export XDG_CACHE_HOME="$work/cache"
settings=(--set "sun radius=30" --set "halo radius=70")

# Starts the dialog, waits for its window, presses `key` in it; prints the exit code.
edit_then_press() {
    local key=$1 output=$2
    "$program" edit "${settings[@]}" -o "$output" >"$work/$key.log" 2>&1 &
    local pid=$!
    local window
    window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Corvanthe$' | head -n 1)
    xdotool windowfocus --sync "$window"
    xdotool key "$key"
    local code=0
    wait "$pid" || code=$?
    echo "$code"
}

code=$(edit_then_press Return edited.png)
[ "$code" -eq 0 ] || { echo "edit + Return exited $code"; cat "$work/Return.log"; exit 1; }
"$program" render "${settings[@]}" --quiet -o rendered.png
cmp edited.png rendered.png || { echo "Return did not write what render writes"; exit 1; }

code=$(edit_then_press Escape cancelled.png)
[ "$code" -eq 1 ] || { echo "edit + Escape exited $code"; cat "$work/Escape.log"; exit 1; }
[ ! -e cancelled.png ] || { echo "Escape wrote an image"; exit 1; }
grep -q "cancelled" "$work/Escape.log" || { echo "Escape did not say the user cancelled"; exit 1; }

code=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" edit -o nowhere.png 2>no_display.log || code=$?
[ "$code" -eq 2 ] && [ ! -e nowhere.png ] || { echo "edit without a display exited $code"; exit 1; }
echo "corvanthe edit under X: Return, Escape and no display all behave"
