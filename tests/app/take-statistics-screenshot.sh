#!/usr/bin/env bash
# Takes the screenshot of Call > Statistics by day on a big log (some 450,000
# calls, bench/make_log 1G --shape medium) on a private 1600 x 900 Xvfb
# display with a window manager.
# Usage: take-statistics-screenshot.sh <Kestal binary> <make_log binary> <output dir> [LOG]
# A LOG given is shown instead of a generated one.
set -euo pipefail

kestal=$1
make_log=$2
out=$3
log=${4:-}
mkdir -p "$out"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
. "$(dirname "$0")/xvfb-desktop.sh"
need_tools Xvfb openbox xdotool import
start_desktop shots-big 1600x900x24

mkdir "$scratch/windows"
if [ -n "$log" ]; then
  ln "$log" "$scratch/windows/ppplog.txt" 2>/dev/null || cp "$log" "$scratch/windows/ppplog.txt"
else
  "$make_log" 1G "$scratch/windows/ppplog.txt" --shape medium
fi

WINDIR="$scratch/windows" "$kestal" &
app=$!
pids+=("$app")
# A generated log holds a few damaged calls: their warnings are answered
# until the main window shows.
main=
for _ in $(seq 300); do
  main=$(xdotool search --onlyvisible --name 'Kestal File Viewer' 2>/dev/null | head -n 1 || true)
  [ -n "$main" ] && break
  warning=$(xdotool search --onlyvisible --name '^Warning$' 2>/dev/null | head -n 1 || true)
  if [ -n "$warning" ]; then
    xdotool windowactivate "$warning" >/dev/null 2>&1 || true
    xdotool key Return >/dev/null 2>&1 || true
  fi
  sleep 1
done
[ -n "$main" ] || { echo "the main window never showed" >&2; exit 1; }
sleep "${KESTAL_LOAD_WAIT:-5}"
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool key alt+c
sleep 0.3
xdotool key t
stats=$(timeout 30 xdotool search --sync --onlyvisible --name '^Statistics - ' | head -n 1)
sleep 1
xdotool key alt+p Down
sleep 2
import -window "$(frame_of "$stats")" "$out/statistics-big-log.png"
xdotool key Escape
sleep 0.3
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool key alt+F4
wait "$app" || true
echo "Screenshot in $out/statistics-big-log.png"
