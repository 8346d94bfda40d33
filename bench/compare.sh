#!/usr/bin/env bash
# Times, in one run, the whole `corvanthe render` of a 4000 x 3000 PNG against the same image
# through GEGL's supernova with 94 spokes, prints the ratio, and checks the peak memory of the
# corvanthe run against the input and output images' size plus 64 MB.
# Usage: bash bench/compare.sh [threads]   (default: every processor)
set -euo pipefail
cd "$(dirname "$0")/.."
threads="${1:-0}"
width=4000
height=3000

# The peer and the meter are only needed here, so CI does not install them.
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
need=()
command -v gegl >/dev/null || need+=(gegl)
[ -x /usr/bin/time ] || need+=(time)
if [ ${#need[@]} -gt 0 ]; then
  $SUDO apt-get install -y --no-install-recommends "${need[@]}" >/dev/null || {
    $SUDO apt-get update >/dev/null && $SUDO apt-get install -y --no-install-recommends "${need[@]}" >/dev/null; }
fi

corvanthe=build/bench/apps/cli/corvanthe
if [ ! -x "$corvanthe" ]; then
  cmake --preset bench >/dev/null
  cmake --build --preset bench
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
input="$work/input.png"
oiiotool --pattern fill:topleft=0.05,0.1,0.3:topright=0.2,0.3,0.6:bottomleft=0.6,0.3,0.1:bottomright=0.1,0.05,0.05 \
  "${width}x${height}" 3 -d uint8 -o "$input"

# Wall-clock seconds, peak resident kilobytes and processor seconds (user + system) of a
# command, from GNU time.
measure() {
  local log="$1"
  shift
  /usr/bin/time -v "$@" 2>"$log" >/dev/null || { cat "$log" >&2; exit 1; }
  local wall rss cpu
  wall="$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$log" |
          awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; print s }')"
  rss="$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$log")"
  cpu="$(sed -n 's/.*\(User\|System\) time (seconds): //p' "$log" | awk '{ s += $1 } END { print s }')"
  echo "$wall $rss $cpu"
}

thread_option=()
[ "$threads" -gt 0 ] && thread_option=(--threads "$threads")
# A cache folder of its own: no earlier run's cached settings, so the default sun is drawn.
mkdir -p "$work/cache"
read -r ours_s ours_kb ours_cpu < <(measure "$work/ours.log" env XDG_CACHE_HOME="$work/cache" "$corvanthe" render "$input" -o "$work/ours.png" --quiet \
  "${thread_option[@]}")
read -r peer_s peer_kb peer_cpu < <(measure "$work/peer.log" gegl "$input" -o "$work/peer.png" -- \
  gegl:supernova center-x=0.5 center-y=0.5 radius=300 spokes-count=94)

# The program's size before it reads anything (its shared libraries), for reading the peak.
read -r _ idle_kb _ < <(measure "$work/idle.log" "$corvanthe" --help)

image_mb=$(awk -v w="$width" -v h="$height" 'BEGIN { printf "%.1f", 2 * w * h * 3 / 1048576 }')
ours_mb=$(awk -v k="$ours_kb" 'BEGIN { printf "%.1f", k / 1024 }')
limit_mb=$(awk -v i="$image_mb" 'BEGIN { printf "%.1f", i + 64 }')
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg), processors: $(nproc)"
echo "corvanthe render ${width}x${height}: ${ours_s} s (processor ${ours_cpu} s), peak ${ours_mb} MB"
echo "gegl:supernova (94 spokes):      ${peer_s} s (processor ${peer_cpu} s), peak $(awk -v k="$peer_kb" 'BEGIN { printf "%.1f", k / 1024 }') MB"
awk -v a="$ours_s" -v b="$peer_s" 'BEGIN { if (b > 0) printf "time ratio corvanthe / gegl: %.2f (target <= 0.50)\n", a / b }'
echo "corvanthe idle (--help): peak $(awk -v k="$idle_kb" 'BEGIN { printf "%.1f", k / 1024 }') MB;" \
  "the render's peak above it: $(awk -v a="$ours_kb" -v b="$idle_kb" 'BEGIN { printf "%.1f", (a - b) / 1024 }') MB"
echo "peak memory ${ours_mb} MB against images ${image_mb} MB + 64 MB = ${limit_mb} MB:" \
  "$(awk -v m="$ours_mb" -v l="$limit_mb" 'BEGIN { print (m < l) ? "within" : "over" }')"
