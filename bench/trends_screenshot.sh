#!/usr/bin/env bash
# Takes the screenshot of Call > Trends on a big log at the whole range, on a
# private Xvfb display with a window manager, as the documentation shows it.
# Usage: trends_screenshot.sh <Kestal binary> <log> <output PNG>
set -euo pipefail

kestal=$1
log=$2
out=$3

scratch=$(mktemp -d /tmp/kestal-trends-shot-XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$scratch"
}
trap cleanup EXIT

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

"$kestal" "$log" &
app=$!
pids+=("$app")
main=$(timeout 60 xdotool search --sync --onlyvisible --name 'Kestal File Viewer' | head -n 1)
sleep 3
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool key alt+c
sleep 0.3
xdotool key r
trends=$(timeout 30 xdotool search --sync --onlyvisible --name '^Trends - ' | head -n 1)
sleep 3
frame=$(xwininfo -id "$trends" -children | awk '/Parent window id/ {print $4}')
import -window "$frame" "$out"
xdotool key Escape
sleep 0.3
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool key alt+F4
wait "$app" || true
echo "Screenshot in $out"
