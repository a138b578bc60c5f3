#!/usr/bin/env bash
# Takes the screenshot of Call > Statistics by day on a big log (some 450,000
# calls, bench/make_log 1G --shape medium) on a private 1280 x 800 Xvfb
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
  ln -s "$(realpath "$log")" "$scratch/windows/ppplog.txt"
else
  "$make_log" 1G "$scratch/windows/ppplog.txt" --shape medium
fi

Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp 5>"$scratch/display" 2>/dev/null &
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
main=$(timeout 60 xdotool search --sync --onlyvisible --name '^Kestal File Viewer' | head -n 1)
# The log is read and its calls listed before the menu answers.
sleep "${KESTAL_LOAD_WAIT:-20}"
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
