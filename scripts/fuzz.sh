#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer + UndefinedBehavior-
# Sanitizer) in build-fuzz/ and runs each for SECONDS seconds (default 60).
# Prints the executions per target and fails when any target finds a crash,
# a hang, a leak or a broken property. Everything a run leaves behind (the
# grown corpus, crash inputs, logs) stays in build-fuzz/, out of the tree.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

seconds=${1:-60}
shift || true
build=${KESTAL_FUZZ_BUILD:-$root/build-fuzz}

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKESTAL_FUZZ=ON -DKESTAL_GUI=OFF -DKESTAL_TESTS=OFF -DKESTAL_BENCH=OFF >/dev/null
jobs=$(nproc)
[ "$jobs" -gt 2 ] || jobs=2
ninja -C "$build" -j"$jobs" fuzzers

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for source in fuzz/fuzz_*.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi

stats=$build/fuzz-stats.txt
failed=()
results=()
for target in "${targets[@]}"; do
  work=$build/corpus/$target        # grows from run to run
  artifacts=$build/artifacts/$target
  log=$build/logs/$target.log
  rm -rf "$artifacts"
  mkdir -p "$work" "$artifacts" "$(dirname "$log")"
  seeds=("$root/fuzz/corpus/$target")
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 -print_final_stats=1
           -artifact_prefix="$artifacts/" -close_fd_mask=1)
  case $target in
    fuzz_lines|fuzz_scan|fuzz_details|fuzz_print|fuzz_load|fuzz_stream)
      options+=(-dict="$root/fuzz/ppplog.dict" -max_len=8192)
      # The test fixtures and the sample log seed the log readers too.
      seeds+=("$root/tests/data" "$root/examples/windows") ;;
  esac
  existing=()
  for s in "${seeds[@]}"; do [ -d "$s" ] && existing+=("$s"); done

  echo "-- $target: ${seconds}s"
  status=0
  ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:symbolize=1" \
  UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    "$build/fuzz/$target" "${options[@]}" "$work" "${existing[@]}" >"$log" 2>&1 || status=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  found=$(find "$artifacts" -type f | wc -l)
  line=$(printf '%-14s %12s execs %8s/s  corpus %5s  status %s' "$target" "${execs:-?}" "${speed:-?}" \
         "$(find "$work" -type f | wc -l)" "$status")
  results+=("$line")
  echo "$(date -u +%FT%TZ) ${seconds}s $line" >>"$stats"
  if [ "$status" -ne 0 ] || [ "$found" -gt 0 ]; then
    failed+=("$target")
    echo "!! $target failed (exit $status); log: $log; inputs: $artifacts"
    grep -E -m 12 '^\*\*\*|ERROR|SUMMARY|runtime error' "$log" || true
  fi
done

echo "== Fuzzing results (${seconds}s a target)"
printf '%s\n' "${results[@]}"
if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing FAILED: ${failed[*]}"
  exit 1
fi
echo "Fuzzing passed: no crash in ${#targets[@]} targets"
