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

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
. "$(dirname "$0")/xvfb-desktop.sh"
need_tools Xvfb openbox xdotool import
start_desktop shots-pppd 1600x900x24

"$make_log" 3M "$scratch/syslog" --kind pppd --style rfc3339 --seed 5 >/dev/null

TZ=UTC "$kestal" "$scratch/syslog" &
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
