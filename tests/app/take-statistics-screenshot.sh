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

scratch=$(mktemp -d /tmp/kestal-shots-XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$scratch"
}
trap cleanup EXIT

mkdir "$scratch/windows"
if [ -n "$log" ]; then
  ln "$log" "$scratch/windows/ppplog.txt" 2>/dev/null || cp "$log" "$scratch/windows/ppplog.txt"
else
  "$make_log" 1G "$scratch/windows/ppplog.txt" --shape medium
fi

Xvfb -displayfd 5 -screen 0 1600x900x24 -nolisten tcp 5>"$scratch/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$scratch/display")"
export XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
XDG_CONFIG_HOME="$scratch/config" openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

# The window manager's frame around a client window.
frame_of() {
  xwininfo -id "$1" -children | awk '/Parent window id/ {print $4}'
}

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
