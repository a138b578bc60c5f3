#!/usr/bin/env bash
# Runs the benchmarks on synthetic logs of the sizes given (default 10M 100M
# 1G), generated into a scratch folder outside the repository and removed
# afterwards:
#
#   scripts/bench.sh [SIZE ...]
#
# For each size it prints
# - bench/log_bench: load, call scan, load + scan (against wc -l), Show Call
#   Details of the last call, the three export layouts, the NUL repair of a
#   log with NUL bytes (against tr -d '\000');
# - kestal-calls end to end (load + scan + tab-separated export to
#   /dev/null) against wc -l on the same file, with its peak memory measured
#   by /usr/bin/time -v (Debian package "time");
# - bench/window_bench (offscreen): the main window opening the log until
#   the grid is ready, scrolling through every row, Show Call Details, and
#   the repair through File > Open;
# - bench/follow_bench (offscreen): 1 MiB of calls appended to the followed
#   log shown, against View > Reload (it appends to the generated log, so it
#   runs last).
#
# Settings: KESTAL_BENCH_RUNS (best of, default 3), KESTAL_BENCH_DIR (scratch
# folder, default a new one under /tmp), KESTAL_BENCH_WINDOW=0 (no window
# benchmark), KESTAL_BENCH_KEEP=1 (keep the logs).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(10M 100M 1G)
runs=${KESTAL_BENCH_RUNS:-3}
window=${KESTAL_BENCH_WINDOW:-1}

if [ ! -x /usr/bin/time ]; then
  echo "== Installing /usr/bin/time (Debian package time)"
  apt-get install -y time >/dev/null
fi

build=build-bench
echo "== Build ($build, RelWithDebInfo)"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTAL_BENCH=ON >/dev/null
targets=(make_log log_bench kestal-calls)
if [ "$window" = 1 ] && grep -q '^KESTAL_GUI:BOOL=ON' "$build/CMakeCache.txt"; then
  targets+=(window_bench follow_bench)
else
  window=0
fi
ninja -C "$build" -j2 "${targets[@]}" >/dev/null

scratch=${KESTAL_BENCH_DIR:-$(mktemp -d /tmp/kestal-bench.XXXXXX)}
mkdir -p "$scratch"
cleanup() { [ "${KESTAL_BENCH_KEEP:-0}" = 1 ] || rm -f "$scratch"/*.log "$scratch"/*.time; }
trap cleanup EXIT

now() { date +%s%N; }

# best_of COMMAND...: runs it $runs times with its output thrown away;
# prints the shortest elapsed time, and the user + system time and peak
# resident size (KiB) of that run.
best_of() {
  local best="" cpu="" rss="" start end t
  for _ in $(seq "$runs"); do
    start=$(now)
    /usr/bin/time -f "%U %S %M" -o "$scratch/run.time" "$@" >/dev/null 2>"$scratch/stderr.time" || {
      cat "$scratch/stderr.time" >&2
      return 1
    }
    end=$(now)
    t=$((end - start))
    if [ -z "$best" ] || [ "$t" -lt "$best" ]; then
      best=$t
      read -r u s rss <"$scratch/run.time"
      cpu=$(awk -v u="$u" -v s="$s" 'BEGIN { printf "%.2f", u + s }')
    fi
  done
  awk -v t="$best" -v c="$cpu" -v m="$rss" 'BEGIN { printf "%.3f %s %d\n", t / 1e9, c, m }'
}

summary=()
for size in "${sizes[@]}"; do
  log="$scratch/$size.log"
  nul="$scratch/$size-nul.log"
  echo
  echo "======== $size"
  "$build/bench/make_log" "$size" "$log"
  "$build/bench/make_log" "$size" "$nul" --nul
  cat "$log" "$nul" >/dev/null  # page cache warm

  echo "-- log library"
  "$build/bench/log_bench" "$log" --nul "$nul" --runs "$runs"

  echo "-- kestal-calls --format tsv LOG > /dev/null (best of $runs; peak memory by /usr/bin/time -v)"
  bytes=$(stat -c %s "$log")
  read -r wc_t wc_cpu _ < <(best_of wc -l "$log")
  read -r kc_t kc_cpu _ < <(best_of "$build/tools/kestal-calls" --format tsv "$log")
  peak=$(/usr/bin/time -v "$build/tools/kestal-calls" --format tsv "$log" 2>&1 >/dev/null |
    awk -F': ' '/Maximum resident set size/ { print $2 }')
  awk -v b="$bytes" -v w="$wc_t" -v wc="$wc_cpu" -v k="$kc_t" -v kc="$kc_cpu" -v p="$peak" 'BEGIN {
    printf "wc -l          %8.3f s (cpu %5.2f s) %8.1f MB/s\n", w, wc, b / 1e6 / w
    printf "kestal-calls   %8.3f s (cpu %5.2f s) %8.1f MB/s  %.2fx wc -l\n", k, kc, b / 1e6 / k, k / w
    printf "peak memory    %8.1f MiB, %.2fx the file size\n", p / 1024, p * 1024 / b
  }'
  summary+=("$(awk -v s="$size" -v b="$bytes" -v w="$wc_t" -v k="$kc_t" -v p="$peak" 'BEGIN {
    printf "%-6s %10.1f MB  wc -l %7.3f s  kestal-calls %7.3f s  %5.2fx  peak %7.1f MiB %4.2fx",
      s, b / 1e6, w, k, k / w, p / 1024, p * 1024 / b }')")

  if [ "$window" = 1 ]; then
    echo "-- window (offscreen)"
    QT_QPA_PLATFORM=offscreen "$build/bench/window_bench" "$log" --nul "$nul" --runs "$runs" 2>&1 |
      grep -v -e 'does not support' -e XDG_RUNTIME_DIR
    echo "-- follow (offscreen)"
    QT_QPA_PLATFORM=offscreen "$build/bench/follow_bench" "$log" --runs "$runs" 2>&1 |
      grep -v -e 'does not support' -e XDG_RUNTIME_DIR
  fi
  cleanup
done

echo
echo "======== kestal-calls load + scan + tab-separated export"
printf '%s\n' "${summary[@]}"
