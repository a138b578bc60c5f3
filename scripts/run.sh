#!/usr/bin/env bash
# Installs what is missing, builds, and starts the viewer on the bundled
# sample log. The sample "Windows directory" is copied to a scratch folder
# first, so that File > Clear can never damage the tracked sample.
# Without a display the viewer runs under Xvfb: a screenshot of the main
# window is saved, its path printed, and the viewer ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build Kestal

scratch=$(mktemp -d /tmp/kestal-windows-XXXXXX)
cp -r examples/windows/. "$scratch/"
export WINDIR="$scratch"
echo "Windows directory: $WINDIR"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/src/app/Kestal
fi

shot="$root/build/kestal-main-window.png"
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
# A window manager, so that the main window opens maximised with its title bar.
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill "$wm" "$xvfb" 2>/dev/null || true' EXIT
sleep 0.5

build/src/app/Kestal &
app=$!
window=$(timeout 60 xdotool search --sync --name "^Kestal File Viewer" | head -n 1)
[ -n "$window" ] || { echo "The main window did not appear." >&2; exit 1; }
sleep 1
import -window "$window" "$shot"
kill "$app" 2>/dev/null || true
wait "$app" 2>/dev/null || true
echo "Screenshot of the main window: $shot"
