#!/usr/bin/env bash
# Runs the benchmarks on synthetic logs of the sizes given (default 10M 100M
# 1G 4G), generated into a scratch folder outside the repository one at a
# time and removed afterwards:
#
#   scripts/bench.sh [SIZE ...]
#
# For each size and each log shape (bench/make_log --shape: typical; medium,
# about 450,000 calls per GiB; short lines and many calls; long lines and
# few calls) it prints, against wc -l on the same file in the same run:
# - kestal-calls --format tsv LOG > /dev/null: time and peak memory
#   (/usr/bin/time, Debian package "time");
# - the window's time to first rows (bench/window_bench --ready-only: the
#   main window created on the log until its grid is painted with the calls)
#   offscreen, and through X under Xvfb where xvfb-run is installed, with
#   the window's peak memory; and offscreen without the time its message
#   dialogs took (a log's corrupt-call warnings, answered at once here).
# For the typical shape up to 1 GiB it also prints the detailed figures:
# - bench/log_bench: load, call scan, load + scan (against wc -l), Show Call
#   Details of the last call, the three export layouts, the NUL repair of a
#   log with NUL bytes (against tr -d '\000');
# - bench/window_bench (offscreen): the grid ready, scrolling through every
#   row, Show Call Details, and the repair through File > Open;
# - bench/follow_bench (offscreen): 1 MiB of calls appended to the followed
#   log shown, against View > Reload (it appends to the generated log, so it
#   runs last).
#
# Settings: KESTAL_BENCH_RUNS (best of, default 3), KESTAL_BENCH_DIR (scratch
# folder, default a new one under /tmp), KESTAL_BENCH_SHAPES (default
# "typical medium short long"), KESTAL_BENCH_WINDOW=0 (no window benchmark),
# KESTAL_BENCH_DETAILS=0 (no detailed figures), KESTAL_BENCH_KEEP=1 (keep the
# logs).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(10M 100M 1G 4G)
runs=${KESTAL_BENCH_RUNS:-3}
window=${KESTAL_BENCH_WINDOW:-1}
details=${KESTAL_BENCH_DETAILS:-1}
read -r -a shapes <<<"${KESTAL_BENCH_SHAPES:-typical medium short long}"
xvfb=0
command -v xvfb-run >/dev/null && xvfb=1

if [ ! -x /usr/bin/time ]; then
  echo "== Installing /usr/bin/time (Debian package time)"
  apt-get install -y time >/dev/null
fi

build=${KESTAL_BENCH_BUILD:-build-bench}
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

# window_ready LOG [xvfb]: the window's best time to first rows (s), its
# peak memory over one load (KiB), and the time less the log's message
# dialogs (answered at once here, by a user one at a time; "-" without any).
window_ready() {
  local log=$1 out
  local run=(env QT_QPA_PLATFORM=offscreen)
  [ "${2:-}" = xvfb ] && run=(xvfb-run -a env QT_QPA_PLATFORM=xcb)
  out=$("${run[@]}" "$build/bench/window_bench" "$log" --ready-only --runs "$runs" 2>&1) ||
    { echo "$out" >&2; echo "nan 0 -"; return; }
  awk 'BEGIN { n = "-" }
       /^window: grid ready / { t = $4 } /^window: grid ready, no dialogs / { n = $6 }
       /^window: peak resident size after one load: / { m = $8 }
       END { print t, m, n }' <<<"$out"
}

# One line of the summary: size, shape, and every figure against wc -l.
summary=()
summary_line() {
  awk -v size="$1" -v shape="$2" -v b="$3" -v w="$4" -v k="$5" -v p="$6" \
      -v o="$7" -v om="$8" -v x="$9" -v n="${10}" 'BEGIN {
    line = sprintf("%-5s %-8s %8.1f MB  wc -l %6.3f s  kestal-calls %6.3f s %5.2fx %6.1f MiB",
                   size, shape, b / 1e6, w, k, k / w, p / 1024)
    if (o != "") line = line sprintf("  window %6.3f s %5.2fx %7.1f MiB %4.2fx", o, o / w, om / 1024, om * 1024 / b)
    if (x != "") line = line sprintf("  Xvfb %6.3f s %5.2fx", x, x / w)
    if (n != "" && n != "-") line = line sprintf("  (window without its warnings %6.3f s %5.2fx)", n, n / w)
    print line }'
}

for size in "${sizes[@]}"; do
  for shape in "${shapes[@]}"; do
    log="$scratch/$size-$shape.log"
    echo
    echo "======== $size, $shape"
    "$build/bench/make_log" "$size" "$log" --shape "$shape"
    cat "$log" >/dev/null  # page cache warm
    bytes=$(stat -c %s "$log")

    full=0
    if [ "$details" = 1 ] && [ "$shape" = typical ] && [ "$bytes" -le $((1100 << 20)) ]; then
      full=1
      nul="$scratch/$size-nul.log"
      "$build/bench/make_log" "$size" "$nul" --nul
      cat "$nul" >/dev/null
      echo "-- log library"
      "$build/bench/log_bench" "$log" --nul "$nul" --runs "$runs"
    fi

    echo "-- kestal-calls --format tsv LOG > /dev/null (best of $runs; peak memory by /usr/bin/time -v)"
    read -r wc_t wc_cpu _ < <(best_of wc -l "$log")
    read -r kc_t kc_cpu _ < <(best_of "$build/tools/kestal-calls" --format tsv "$log")
    peak=$(/usr/bin/time -v "$build/tools/kestal-calls" --format tsv "$log" 2>&1 >/dev/null |
      awk -F': ' '/Maximum resident set size/ { print $2 }')
    awk -v b="$bytes" -v w="$wc_t" -v wc="$wc_cpu" -v k="$kc_t" -v kc="$kc_cpu" -v p="$peak" 'BEGIN {
      printf "wc -l          %8.3f s (cpu %5.2f s) %8.1f MB/s\n", w, wc, b / 1e6 / w
      printf "kestal-calls   %8.3f s (cpu %5.2f s) %8.1f MB/s  %.2fx wc -l\n", k, kc, b / 1e6 / k, k / w
      printf "peak memory    %8.1f MiB, %.2fx the file size\n", p / 1024, p * 1024 / b
    }'

    off_t="" off_m="" off_n="" x_t=""
    if [ "$window" = 1 ]; then
      read -r off_t off_m off_n < <(window_ready "$log")
      echo "-- window, start to first rows: offscreen $off_t s, peak $((off_m / 1024)) MiB, without its warnings $off_n s"
      if [ "$xvfb" = 1 ]; then
        read -r x_t _ _ < <(window_ready "$log" xvfb)
        echo "-- window, start to first rows: through Xvfb $x_t s"
      fi
      if [ "$full" = 1 ]; then
        echo "-- window (offscreen)"
        QT_QPA_PLATFORM=offscreen "$build/bench/window_bench" "$log" --nul "$nul" --runs "$runs" 2>&1 |
          grep -v -e 'does not support' -e XDG_RUNTIME_DIR
        echo "-- follow (offscreen)"
        QT_QPA_PLATFORM=offscreen "$build/bench/follow_bench" "$log" --runs "$runs" 2>&1 |
          grep -v -e 'does not support' -e XDG_RUNTIME_DIR
      fi
    fi
    summary+=("$(summary_line "$size" "$shape" "$bytes" "$wc_t" "$kc_t" "$peak" "$off_t" "$off_m" "$x_t" "$off_n")")
    cleanup
  done
done

echo
echo "======== Summary: each against wc -l on the same log, best of $runs"
printf '%s\n' "${summary[@]}"
