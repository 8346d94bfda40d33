#!/usr/bin/env bash
# Checks the Windows plug-ins that the mingw64 and mingw32 presets built:
#  - each Corvanthe.8bf is a PE DLL of its machine that exports PluginMain and nothing
#    else, and imports only system DLLs;
#  - an independent resource lister (wrestool) finds PIPL 16000 and AETE 16000, and our
#    property-list reader finds kind, name, category and the entry point for the word
#    size in the PIPL that wrestool extracts;
#  - under Wine (x64, and x86 when Wine's 32-bit loader is installed), the platform
#    layer's check program passes against the Windows API, winhost loads the plug-in as a host does, the PIPL's entry is the
#    exported PluginMain, and silent runs over the test pictures give exactly the pixels
#    of the same runs on Linux (corvanthe_rawhost), for the default sun and every glue
#    mode; a descriptor recorded on either system replays on the other to the same pixels;
#    the picture generator draws the dialog's pictures with the same bytes as on Linux;
#  - on a virtual display, the dialog as a user works it (check_dialog_gui.sh).
# The x86 runs are reported as not run, with the reason, where this machine cannot execute
# 32-bit programs.
# Usage: tests/windows/check_windows_build.sh [native build folder, default build/default]
set -euo pipefail
cd "$(dirname "$0")/../.."
native_build=${1:-build/default}
rawhost="$native_build/apps/winhost/corvanthe_rawhost"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
pass() { echo "ok   $*"; }
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; fi; }

[ -x "$rawhost" ] || { echo "missing $rawhost: build the default preset first"; exit 1; }

# System DLLs a plug-in may import; anything else would have to ship beside it.
system_dlls='^(KERNEL32|USER32|GDI32|SHELL32|COMCTL32|COMDLG32|ADVAPI32|OLE32|msvcrt)\.dll$'

for arch in x64 x86; do
  if [ $arch = x64 ]; then
    dir=build/mingw64 objdump=x86_64-w64-mingw32-objdump format=pei-x86-64 entry_key=8664
  else
    dir=build/mingw32 objdump=i686-w64-mingw32-objdump format=pei-i386 entry_key=wx86
  fi
  plugin=$dir/Corvanthe.8bf
  if [ ! -f "$plugin" ]; then fail "$arch: $plugin was not built"; continue; fi
  $objdump -p "$plugin" > "$work/pe.txt"

  check "$arch: PE file of its machine" grep -q "file format $format" "$work/pe.txt"
  characteristics=$(awk '/^Characteristics/ {print $2; exit}' "$work/pe.txt")
  check "$arch: a DLL (characteristics $characteristics)" test $(( characteristics & 0x2000 )) -ne 0
  sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' "$work/pe.txt" | awk '/^[[:space:]]*\[ *[0-9]+\]/ {print $NF}' > "$work/exports.txt"
  check "$arch: exports exactly PluginMain ($(tr '\n' ' ' < "$work/exports.txt"))" \
    test "$(cat "$work/exports.txt")" = PluginMain
  awk '/DLL Name:/ {print $3}' "$work/pe.txt" > "$work/imports.txt"
  check "$arch: imports only system DLLs ($(tr '\n' ' ' < "$work/imports.txt"))" \
    bash -c "! grep -Evi '$system_dlls' '$work/imports.txt'"

  wrestool -l "$plugin" > "$work/resources.txt"
  check "$arch: wrestool lists PIPL 16000" grep -q -- "--type='PIPL' --name=16000" "$work/resources.txt"
  check "$arch: wrestool lists AETE 16000" grep -q -- "--type='AETE' --name=16000" "$work/resources.txt"
  wrestool -x --type=PIPL --name=16000 -R "$plugin" > "$work/pipl.bin"
  if "$rawhost" pipl "$work/pipl.bin" > "$work/pipl.txt"; then
    check "$arch: PIPL kind 8BFM" grep -qx 'kind 8BFM' "$work/pipl.txt"
    check "$arch: PIPL name" grep -qx 'name Corvanthe...' "$work/pipl.txt"
    check "$arch: PIPL category" grep -qx 'category Tallow Heron' "$work/pipl.txt"
    entry=$(awk -v key=$entry_key '$1 == key {print $2}' "$work/pipl.txt")
    check "$arch: PIPL entry ($entry_key) $entry is an export" grep -qx "${entry:-none}" "$work/exports.txt"
  else
    fail "$arch: our reader cannot read the PIPL that wrestool extracted"
  fi
done

# ---- Under Wine ----
wine=$(command -v wine64 || true)
[ -n "$wine" ] || [ ! -x /usr/lib/wine/wine64 ] || wine=/usr/lib/wine/wine64
wineserver=$(command -v wineserver || true)
[ -n "$wineserver" ] || wineserver=/usr/lib/wine/wineserver
# A 32-bit program needs Wine's 32-bit loader (Debian's wine32 from the i386 architecture),
# and a machine and kernel that execute it. Sets x86_reason when it cannot run.
x86_reason=""
can_run_x86() {
  local wine32 output
  wine32=$(command -v wine || true)
  [ -n "$wine32" ] || [ ! -x /usr/lib/wine/wine ] || wine32=/usr/lib/wine/wine
  if [ -z "$wine32" ]; then
    x86_reason="Wine's 32-bit loader (wine32) is not installed"
  elif ! output=$("$wine32" --version 2>&1); then
    x86_reason="this machine cannot execute 32-bit programs ($wine32 --version: ${output:-no output})"
  elif ! output=$(timeout 120 "$wine32" cmd /c echo x86-ready 2>&1) || ! grep -q x86-ready <<< "$output"; then
    x86_reason="Wine cannot start a 32-bit Windows program here ($(tail -1 <<< "${output:-no output}" | tr -d '\r'))"
  fi
  [ -z "$x86_reason" ]
}

# The dialog under a virtual display, as a user clicks it.
check_gui() {  # arch build-folder
  if ! command -v xvfb-run > /dev/null || ! command -v xdotool > /dev/null; then
    fail "gui $1: xvfb-run or xdotool is not installed (scripts/setup.sh installs them)"
    return
  fi
  if ! timeout 900 xvfb-run -a -s "-screen 0 1280x1024x24" bash tests/windows/check_dialog_gui.sh "$1" "$native_build" "$2" \
       > "$work/gui-$1.txt" 2>&1; then
    failures=$((failures + 1))
  fi
  grep -E '^(ok|FAIL|all|[0-9]+ GUI)' "$work/gui-$1.txt" || echo "FAIL gui $1: $(tail -3 "$work/gui-$1.txt" | tr '\n' ';')"
}

z() { echo "Z:$(realpath "$1")"; }

# Runs the plug-in of one machine under Wine and compares with the Linux runs.
check_under_wine() {  # arch build-folder
  local arch=$1 dir=$2
  local winhost=$dir/winhost.exe plugin=$dir/Corvanthe.8bf
  winrun() { "$wine" "$(z $winhost)" "$@" 2> "$work/wine-stderr.txt"; }

  if "$wine" "$(z $dir/platform_check.exe)" > "$work/platform.txt" 2>&1; then
    pass "wine $arch: events, threads and folders of the Windows platform layer"
  else
    fail "wine $arch: the Windows platform layer: $(grep -a FAIL "$work/platform.txt" | tr -d '\r' | tr '\n' ';')"
  fi

  if winrun info "$(z $plugin)" | tr -d '\r' > "$work/info.txt"; then
    check "wine $arch: winhost finds kind 8BFM" grep -qx 'kind 8BFM' "$work/info.txt"
    check "wine $arch: winhost finds the name" grep -qx 'name Corvanthe...' "$work/info.txt"
    check "wine $arch: winhost finds the category" grep -qx 'category Tallow Heron' "$work/info.txt"
    check "wine $arch: the PIPL's entry is the exported PluginMain" grep -qx 'entry PluginMain' "$work/info.txt"
  else
    fail "wine $arch: winhost cannot load the plug-in: $(cat "$work/wine-stderr.txt")"
    return
  fi

  # The dialog's pictures, drawn by the same code: the same bytes as the Linux build's.
  local pictures="$work/$arch-pictures"
  mkdir -p "$pictures"
  if "$wine" "$(z $dir/resources/pictures/corvanthe_picgen.exe)" "$(z "$pictures")" > /dev/null 2>&1; then
    check "wine $arch: the dialog's $(ls "$pictures" | wc -l) pictures have the Linux build's bytes" \
      diff -r "$native_build/pictures" "$pictures"
  else
    fail "wine $arch: the picture generator failed"
  fi

  # One silent run on both systems; the output files must be identical.
  compare_run() {  # name picture descriptor
    local name="$arch $1" picture=$2 descriptor=$3 file="$arch-${1// /-}"
    "$rawhost" run "$picture" "$work/$file.linux.raw" --descriptor "$descriptor" --record "$work/$file.linux.desc" \
      > /dev/null || { fail "$name: Linux run"; return; }
    winrun run "$(z $plugin)" "$(z "$picture")" "Z:$work/$file.windows.raw" --descriptor "$(z "$descriptor")" \
      --record "Z:$work/$file.windows.desc" > /dev/null \
      || { fail "$name: Windows run: $(cat "$work/wine-stderr.txt")"; return; }
    if cmp -s "$work/$file.linux.raw" "$work/$file.windows.raw"; then
      pass "$name: same pixels ($(sha256sum < "$work/$file.linux.raw" | cut -c1-16))"
    else
      fail "$name: the pixels differ ($(cmp "$work/$file.linux.raw" "$work/$file.windows.raw" | head -1))"
    fi
    # The sun must show: a run that gave the picture back untouched compared nothing.
    if cmp -s "$picture" "$work/$file.linux.raw"; then fail "$name: the picture came back unchanged"; fi
    return 0
  }

  for picture in rgb8 rgba16 grey32; do
    compare_run "default sun on $picture" "$work/$picture.raw" "$work/default.desc"
  done
  for glue in $(seq 1 19); do
    compare_run "glue $glue on rgb8" "$work/rgb8.raw" "$work/glue$glue.desc"
  done

  # Recorded descriptors cross over: each system replays what the other recorded.
  compare_run "recorded" "$work/rgba16.raw" "$work/varied.desc"
  local recorded="$work/$arch-recorded"
  if [ -f "$recorded.windows.desc" ] && [ -f "$recorded.linux.desc" ]; then
    check "$arch: both systems record the same descriptor" cmp -s "$recorded.windows.desc" "$recorded.linux.desc"
    "$rawhost" run "$work/rgba16.raw" "$work/$arch-replay-on-linux.raw" --descriptor "$recorded.windows.desc" \
      > /dev/null || true
    check "$arch: the Windows recording replays on Linux to the same pixels" \
      cmp -s "$work/$arch-replay-on-linux.raw" "$recorded.windows.raw"
    winrun run "$(z $plugin)" "$(z "$work/rgba16.raw")" "Z:$work/$arch-replay-on-windows.raw" \
      --descriptor "$(z "$recorded.linux.desc")" > /dev/null || true
    check "$arch: the Linux recording replays on Windows to the same pixels" \
      cmp -s "$work/$arch-replay-on-windows.raw" "$recorded.linux.raw"
  fi
}

if [ -z "$wine" ]; then
  fail "wine64 is not installed: the plug-ins were not run"
else
  export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  trap '"$wineserver" -k 2> /dev/null || true; rm -rf "$work"' EXIT
  "$wine" wineboot --init > /dev/null 2>&1 || true

  # The same inputs for every run: small test pictures of each depth, the default
  # settings, each glue mode, and a set of varied settings.
  "$rawhost" picture 96 64 8 rgb "$work/rgb8.raw"
  "$rawhost" picture 64 48 16 rgb+alpha mask "$work/rgba16.raw"
  "$rawhost" picture 48 40 32 grey "$work/grey32.raw"
  "$rawhost" descriptor "$work/default.desc"
  for glue in $(seq 1 19); do "$rawhost" descriptor "$work/glue$glue.desc" sgky=$glue; done
  "$rawhost" descriptor "$work/varied.desc" 0014=40 0021=1 0042=0.75 sgky=7 suky=2

  check_under_wine x64 build/mingw64
  check_gui x64 build/mingw64
  if can_run_x86; then
    check_under_wine x86 build/mingw32
    check_gui x86 build/mingw32
  else
    echo "note x86: built and checked above, not run under Wine: $x86_reason"
  fi
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures Windows check(s) failed"
  exit 1
fi
echo "all Windows checks passed"
