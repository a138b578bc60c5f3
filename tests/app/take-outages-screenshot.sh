#!/usr/bin/env bash
# Takes the screenshots of View > Outages... and of Call > Statistics by day
# on a generated pppd system log (bench/make_log 3M --kind pppd), on a
# private 1600 x 900 Xvfb display with a window manager.
# Usage: take-outages-screenshot.sh <Kestal binary> <make_log binary> <output dir>
set -euo pipefail

kestal=$1
make_log=$2
out=$3
mkdir -p "$out"

scratch=$(mktemp -d /tmp/kestal-shots-XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$scratch"
}
trap cleanup EXIT

"$make_log" 3M "$scratch/syslog" --kind pppd --style rfc3339 --seed 5 >/dev/null

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

frame_of() {
  xwininfo -id "$1" -children | awk '/Parent window id/ {print $4}'
}

TZ=UTC XDG_CONFIG_HOME="$scratch/config" "$kestal" "$scratch/syslog" &
app=$!
pids+=("$app")
main=$(timeout 60 xdotool search --sync --onlyvisible --name 'Kestal File Viewer' | head -n 1)
sleep 2
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool key alt+v
sleep 0.3
xdotool key o
outages=$(timeout 30 xdotool search --sync --onlyvisible --name '^Outages - ' | head -n 1)
sleep 1
import -window "$(frame_of "$outages")" "$out/outages.png"
xdotool key Escape
sleep 0.3
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool key alt+c
sleep 0.3
xdotool key t
stats=$(timeout 30 xdotool search --sync --onlyvisible --name '^Statistics - ' | head -n 1)
sleep 1
xdotool key alt+p Down
sleep 1
import -window "$(frame_of "$stats")" "$out/statistics-pppd.png"
xdotool key Escape
sleep 0.3
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool key alt+F4
wait "$app" || true
echo "Screenshots in $out/outages.png and $out/statistics-pppd.png"
