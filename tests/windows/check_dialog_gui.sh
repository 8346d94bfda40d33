#!/usr/bin/env bash
# The Windows dialog as a user works it: winhost opens Corvanthe.8bf's dialog under Wine on
# a virtual display, and xdotool acts through real input events at the places the dialog's
# layout table gives (printed by corvanthe_rawhost layout):
#  - the window "Corvanthe" opens with a client area of 957 x 656;
#  - Dice, a drag on the sun radius slider, a click on an empty memory dot, typing into the
#    flare count field, Enter: the recorded settings hold the dragged radius and the typed count,
#    and the document equals a silent run with the recorded descriptor;
#  - the About icon opens the About box; Esc closes it, Esc again cancels: result -128 and
#    no output.
# Screenshots of the dialog and the About box stay under the build folder (gui-screenshots/).
# Usage: tests/windows/check_dialog_gui.sh ARCH NATIVE_BUILD WINDOWS_BUILD
#   ARCH is x64 or x86; the Windows build folder holds Corvanthe.8bf and winhost.exe.
set -euo pipefail
cd "$(dirname "$0")/../.."
arch=$1 native_build=$2 dir=$3
rawhost="$native_build/apps/winhost/corvanthe_rawhost"
shots=$(realpath "$dir")/gui-screenshots
mkdir -p "$shots"
work=$(mktemp -d)
failures=0
pass() { echo "ok   gui $arch: $*"; }
fail() { echo "FAIL gui $arch: $*"; failures=$((failures + 1)); }

if [ "$arch" = x64 ]; then wine=$(command -v wine64 || echo /usr/lib/wine/wine64); else wine=$(command -v wine || echo /usr/lib/wine/wine); fi
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap '"$wineserver" -k 2> /dev/null || true; rm -rf "$work"' EXIT
z() { echo "Z:$(realpath "$1")"; }

# A prefix of its own, with Liberation Sans standing in for Arial.
timeout 120 "$wine" wineboot --init > /dev/null 2>&1 || true
timeout 60 "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ /d 'Liberation Sans' /f \
  > /dev/null 2>&1 || fail "the font replacement Arial -> Liberation Sans was not set"

"$rawhost" layout > "$work/layout.txt"
"$rawhost" picture 320 240 8 rgb "$work/in.raw"

# The centre of control ID in screen coordinates, plus an offset across (pixels).
at() {  # id [dx]
  awk -v id="$1" -v dx="${2:-0}" -v ox="$ox" -v oy="$oy" \
    '$1 == id {printf "%d %d\n", ox + int(($2 + $4) / 2) + dx, oy + int(($3 + $5) / 2)}' "$work/layout.txt"
}
left_of() { awk -v id="$1" -v ox="$ox" -v oy="$oy" '$1 == id {printf "%d %d\n", ox + $2 + 3, oy + int(($3 + $5) / 2)}' "$work/layout.txt"; }

# Starts a dialog run in the background and waits for the dialog's place on the screen.
open_dialog() {  # name
  local name=$1
  timeout 180 "$wine" "$(z "$dir/winhost.exe")" dialog "$(z "$dir/Corvanthe.8bf")" "$(z "$work/in.raw")" \
    "Z:$work/$name.raw" --record "Z:$work/$name.desc" --screenshot "Z:$shots/$name.png" \
    > "$work/$name.out" 2> "$work/$name.err" &
  run_pid=$!
  for _ in $(seq 1 120); do
    grep -q '^window Corvanthe' "$work/$name.err" 2> /dev/null && break
    kill -0 $run_pid 2> /dev/null || break
    sleep 0.5
  done
  read -r width height ox oy < <(sed -n 's/^window Corvanthe: client \([0-9]*\) x \([0-9]*\) at \(-\?[0-9]*\) \(-\?[0-9]*\).*/\1 \2 \3 \4/p' \
    "$work/$name.err" | head -1) || true
  if [ -z "${width:-}" ]; then
    fail "$name: the dialog did not open ($(tr -d '\r' < "$work/$name.err" | tail -3 | tr '\n' ';'))"
    kill $run_pid 2> /dev/null || true
    return 1
  fi
  if [ "$width $height" = "957 656" ]; then pass "$name: window \"Corvanthe\" with a client area of 957 x 656"
  else fail "$name: client area $width x $height, not 957 x 656"; fi
}

finish() {  # name: waits for the run to end and sets `result` from its result line
  local name=$1 status=0
  wait $run_pid || status=$?
  [ $status -eq 0 ] || echo "the run ended with status $status" >> "$work/$name.err"
  result=$(tr -d '\r' < "$work/$name.out" | sed -n 's/^result //p')
}

# ---- OK after a user's changes ----
if open_dialog ok; then
  # Dice first, so that what follows is not its chance: the radius slider dragged past its
  # right end is 100, the flare count typed is 7.
  read -r x y < <(at 72); xdotool mousemove "$x" "$y" click 1; sleep 1
  read -r x y < <(at 37); xdotool mousemove "$x" "$y" mousedown 1 sleep 0.3 mousemove $((x + 40)) "$y" sleep 0.3 \
    mousemove $((x + 200)) "$y" sleep 0.3 mouseup 1
  sleep 0.5
  read -r x y < <(at 121); xdotool mousemove "$x" "$y" click 1; sleep 1
  read -r x y < <(at 96); xdotool mousemove "$x" "$y" click 1
  xdotool key End BackSpace BackSpace BackSpace BackSpace BackSpace type 7
  sleep 0.5
  xdotool key Return
  finish ok
  if [ "$result" = 0 ]; then pass "Enter confirms: result 0"; else fail "Enter: result '${result}' ($(tr -d '\r' < "$work/ok.err" | tail -3 | tr '\n' ';'))"; fi
  if [ -f "$work/ok.raw" ] && [ -f "$work/ok.desc" ]; then
    timeout 120 "$wine" "$(z "$dir/winhost.exe")" run "$(z "$dir/Corvanthe.8bf")" "$(z "$work/in.raw")" \
      "Z:$work/replay.raw" --descriptor "$(z "$work/ok.desc")" > /dev/null 2>&1 || true
    if cmp -s "$work/ok.raw" "$work/replay.raw"; then pass "the document equals a silent run with the recorded settings"
    else fail "the document differs from a silent run with the recorded settings"; fi
    if cmp -s "$work/ok.raw" "$work/in.raw"; then fail "the document came back unchanged"; fi
    read -r radius _ < <("$rawhost" setting "$work/ok.desc" 0014) || true
    read -r flares _ < <("$rawhost" setting "$work/ok.desc" 0029) || true
    if [ "${radius:-}" = 100 ]; then pass "the drag set the sun radius to 100"; else fail "sun radius ${radius:-none}, not 100"; fi
    if [ "${flares:-}" = 7 ]; then pass "the typed flare count 7 was kept"; else fail "flare count ${flares:-none}, not 7"; fi
  else
    fail "OK wrote no document or no descriptor"
  fi
  [ -s "$shots/ok.png" ] && pass "screenshot $shots/ok.png" || fail "no screenshot of the dialog"
fi

# ---- the About box, then Esc ----
if open_dialog cancel; then
  read -r x y < <(at 25); xdotool mousemove "$x" "$y" click 1
  if timeout 20 xdotool search --sync --name '^About$' > /dev/null 2>&1; then pass "the About icon opens the About box"
  else fail "no About box after a click on the About icon"; fi
  sleep 2
  [ -s "$shots/cancel-about.png" ] && pass "screenshot $shots/cancel-about.png" || fail "no screenshot of the About box"
  xdotool key Escape; sleep 1; xdotool key Escape
  finish cancel
  if [ "$result" = -128 ]; then pass "Esc cancels: result -128"; else fail "Esc: result '${result}' ($(tr -d '\r' < "$work/cancel.err" | tail -3 | tr '\n' ';'))"; fi
  if [ -e "$work/cancel.raw" ]; then fail "Esc wrote the document"; else pass "Esc leaves the document untouched"; fi
fi

if [ "$failures" -ne 0 ]; then echo "$failures GUI check(s) failed ($arch)"; exit 1; fi
echo "all GUI checks passed ($arch)"
