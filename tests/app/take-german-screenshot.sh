#!/usr/bin/env bash
# Takes the screenshot of the main window in German: the sample log under
# de_DE.UTF-8 with the File menu open, on a private Xvfb display with a
# window manager.
# Usage: take-german-screenshot.sh <Kestal binary> <sample Windows directory> <output dir>
set -euo pipefail

kestal=$1
sample=$2
out=$3
mkdir -p "$out"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
. "$(dirname "$0")/xvfb-desktop.sh"
need_tools Xvfb openbox xdotool import
start_desktop shots-de

mkdir "$scratch/windows"
cp -r "$sample/." "$scratch/windows/"
LC_ALL=de_DE.UTF-8 WINDIR="$scratch/windows" "$kestal" &
app=$!
pids+=("$app")
main=$(timeout 30 xdotool search --sync --onlyvisible --name '^Kestal File Viewer$' | head -n 1)
sleep 1
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool key Down
sleep 0.3
xdotool key alt+d
sleep 0.7
import -window root "$out/main-window-de.png"
xdotool key Escape
sleep 0.3
xdotool key alt+F4
wait "$app"
echo "Screenshot in $out/main-window-de.png"
