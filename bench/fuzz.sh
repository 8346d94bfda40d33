#!/usr/bin/env bash
# Builds the fuzz targets (the fuzz preset: clang, libFuzzer, address and undefined-
# behaviour sanitizers), seeds them from the program's own writers and runs each one
# for SECONDS, or with "long" for an hour or 10 million executions, whichever comes
# first. Prints per target the executions, their rate, the coverage (cov and ft of
# libFuzzer's last status line) and the result; exits non-zero when any target found
# a crash, a hang, a leak or a sanitizer report (its log and input stay under
# build/fuzz/runs/<target>/).
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

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
bin=build/fuzz/fuzz
runs=build/fuzz/runs
rm -rf "$runs"
mkdir -p "$runs"
"$bin/corvanthe_fuzz_seeds" "$runs/seeds"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for exe in "$bin"/fuzz_*; do targets+=("$(basename "$exe")"); done
fi

failed=0
printf '%-24s %12s %8s %8s %8s  %s\n' target executions exec/s cov ft result
for target in "${targets[@]}"; do
  dir="$runs/$target"
  mkdir -p "$dir/corpus"
  # The targets write their files into a scratch folder, in memory where there is one.
  scratch=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
  if [ -d "$runs/seeds/$target" ]; then cp "$runs/seeds/$target"/* "$dir/corpus/"; fi
  set +e
  TMPDIR="$scratch" timeout $((seconds + 120)) "$bin/$target" "$dir/corpus" \
    -max_total_time="$seconds" ${limits[@]+"${limits[@]}"} -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$dir/" >"$dir/log" 2>&1
  code=$?
  set -e
  rm -rf "$scratch"
  executions=$(awk '/^stat::number_of_executed_units:/ {print $2}' "$dir/log")
  rate=$(awk '/^stat::average_exec_per_sec:/ {print $2}' "$dir/log")
  status_line=$(grep -E '^#[0-9]+[[:space:]]' "$dir/log" | tail -1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$status_line")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$status_line")
  if [ "$code" -eq 0 ]; then
    result=ok
  else
    failed=1
    finding=$(grep -m1 -E 'ERROR: (libFuzzer|AddressSanitizer|LeakSanitizer|UndefinedBehaviorSanitizer)|runtime error|invariant broken' "$dir/log" || true)
    result="FAILED (exit $code: ${finding:-see log}; $dir/log)"
  fi
  printf '%-24s %12s %8s %8s %8s  %s\n' "$target" "${executions:-?}" "${rate:-?}" "${cov:-?}" "${ft:-?}" "$result"
done
exit "$failed"
