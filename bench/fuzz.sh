#!/usr/bin/env bash
# Builds the fuzz targets (the fuzz preset: clang, libFuzzer, address and undefined-
# behaviour sanitizers), seeds them from the program's own writers and runs each one
# for SECONDS, or with "long" for an hour or 10 million executions, whichever comes
# first. Runs FUZZ_JOBS targets at a time (default: one per processor). Prints per
# target the executions, their rate, the coverage (cov and ft of libFuzzer's last
# status line) and the result; exits non-zero when any target found a crash, a hang,
# a leak or a sanitizer report (its log and input stay under build/fuzz/runs/<target>/).
#   bench/fuzz.sh SECONDS|long [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: bench/fuzz.sh SECONDS|long [TARGET...]}
shift
limits=()  # no limit but the time
if [ "$seconds" = long ]; then
  seconds=3600
  limits=(-runs=10000000)
fi
jobs=${FUZZ_JOBS:-$(nproc)}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
bin=build/fuzz/fuzz
runs=build/fuzz/runs
mkdir -p "$runs"
seeds=$(mktemp -d)
trap 'rm -rf "$seeds"' EXIT
"$bin/corvanthe_fuzz_seeds" "$seeds"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for exe in "$bin"/fuzz_*; do targets+=("$(basename "$exe")"); done
fi

# One target's run; its summary line goes to runs/<target>/summary.
run_target() {
  local target=$1 dir="$runs/$1"
  rm -rf "$dir"
  mkdir -p "$dir/corpus"
  # The targets write their files into a scratch folder, in memory where there is one.
  local scratch
  scratch=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
  if [ -d "$seeds/$target" ]; then cp "$seeds/$target"/* "$dir/corpus/"; fi
  local code=0
  TMPDIR="$scratch" timeout $((seconds + 120)) "$bin/$target" "$dir/corpus" \
    -max_total_time="$seconds" ${limits[@]+"${limits[@]}"} -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$dir/" >"$dir/log" 2>&1 || code=$?
  rm -rf "$scratch"
  local executions rate status_line cov ft result
  executions=$(awk '/^stat::number_of_executed_units:/ {print $2}' "$dir/log")
  rate=$(awk '/^stat::average_exec_per_sec:/ {print $2}' "$dir/log")
  status_line=$(grep -E '^#[0-9]+[[:space:]]' "$dir/log" | tail -1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$status_line")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$status_line")
  if [ "$code" -eq 0 ]; then
    result=ok
  else
    local finding
    finding=$(grep -m1 -E 'ERROR: (libFuzzer|AddressSanitizer|LeakSanitizer|UndefinedBehaviorSanitizer)|runtime error|invariant broken' "$dir/log" || true)
    result="FAILED (exit $code: ${finding:-see log}; $dir/log)"
  fi
  printf '%-24s %12s %8s %8s %8s  %s\n' "$target" "${executions:-?}" "${rate:-?}" "${cov:-?}" "${ft:-?}" "$result" \
    >"$dir/summary"
}

running=0
for target in "${targets[@]}"; do
  if [ "$running" -ge "$jobs" ]; then wait -n || true; running=$((running - 1)); fi
  run_target "$target" &
  running=$((running + 1))
done
wait

failed=0
printf '%-24s %12s %8s %8s %8s  %s\n' target executions exec/s cov ft result
for target in "${targets[@]}"; do
  summary=$(cat "$runs/$target/summary" 2>/dev/null || printf '%-24s  FAILED (no summary)\n' "$target")
  printf '%s\n' "$summary"
  case $summary in *FAILED*) failed=1 ;; esac
done
exit "$failed"
