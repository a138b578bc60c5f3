#!/usr/bin/env bash
# Takes the screenshots of the documentation: the main window on the sample
# log with the second call selected, that call's details window, and the
# About box, on a private Xvfb display with a window manager.
# Usage: take-screenshots.sh <Kestal binary> <sample Windows directory> <output dir>
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
start_desktop shots 1024x700x24

mkdir "$scratch/windows"
cp -r "$sample/." "$scratch/windows/"
WINDIR="$scratch/windows" "$kestal" &
app=$!
pids+=("$app")
main=$(timeout 30 xdotool search --sync --onlyvisible --name '^Kestal File Viewer$' | head -n 1)
sleep 1
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool key Down
sleep 0.5
import -window root "$out/main-window.png"

xdotool key Return
sleep 1
details=$(xdotool search --onlyvisible --name '^Kestal File Viewer$' | grep -v "^$main\$" | head -n 1)
import -window "$(frame_of "$details")" "$out/call-details.png"
xdotool key Escape
sleep 0.5

xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool key alt+h
sleep 0.3
xdotool key a
about=$(timeout 10 xdotool search --sync --onlyvisible --name '^About$' | head -n 1)
sleep 0.5
import -window "$(frame_of "$about")" "$out/about-box.png"
xdotool key Return
sleep 0.3

# Call > Statistics by day, and Call > Trends.
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool key alt+c
sleep 0.3
xdotool key t
stats=$(timeout 10 xdotool search --sync --onlyvisible --name '^Statistics - ' | head -n 1)
sleep 0.5
xdotool key alt+p Down
sleep 0.5
import -window "$(frame_of "$stats")" "$out/statistics.png"
xdotool key alt+F4
sleep 0.3

xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool key alt+c
sleep 0.3
xdotool key r
trends=$(timeout 10 xdotool search --sync --onlyvisible --name '^Trends - ' | head -n 1)
sleep 1
import -window "$(frame_of "$trends")" "$out/trends.png"
xdotool key alt+F4
sleep 0.3

# The filter bar (Ctrl+F) showing the calls with errors, sorted by
# duration, longest first (two clicks on its title).
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool key ctrl+f
sleep 0.5
xdotool mousemove --window "$main" "${KESTAL_ERRORS_X:-360}" "${KESTAL_ERRORS_Y:-35}" click 1
sleep 0.3
xdotool mousemove --window "$main" "${KESTAL_TITLE_X:-245}" "${KESTAL_TITLE_Y:-85}" click 1
sleep 0.3
xdotool click 1
sleep 0.5
xdotool mousemove --window "$main" 600 400
import -window root "$out/main-window-filter.png"

xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool key alt+F4
wait "$app"

# The main window with a pppd log of a PPPoE line (made up here): sessions
# dropped by echo timeouts, one ended by the user, failed attempts, one
# still up.
cat >"$scratch/syslog" <<'LOG'
Dec  1 06:58:10 gw pppd[812]: Plugin rp-pppoe.so loaded.
Dec  1 06:58:10 gw pppd[812]: pppd 2.4.9 started by root, uid 0
Dec  1 06:58:25 gw pppd[812]: Timeout waiting for PADO packets
Dec  1 06:58:25 gw pppd[812]: Unable to complete PPPoE Discovery
Dec  1 06:58:56 gw pppd[812]: PPP session is 4711
Dec  1 06:58:56 gw pppd[812]: Using interface ppp0
Dec  1 06:58:56 gw pppd[812]: Connect: ppp0 <--> eth1
Dec  1 06:58:57 gw pppd[812]: CHAP authentication succeeded
Dec  1 06:58:57 gw pppd[812]: peer from calling number 00:11:22:33:44:55 authorized
Dec  1 06:58:58 gw pppd[812]: local  IP address 198.51.100.23
Dec  1 06:58:58 gw pppd[812]: remote IP address 198.51.100.1
Dec  1 06:58:58 gw pppd[812]: primary   DNS address 192.0.2.53
Dec  1 06:58:58 gw pppd[812]: secondary DNS address 192.0.2.54
Dec  1 19:12:40 gw pppd[812]: No response to 4 echo-requests
Dec  1 19:12:40 gw pppd[812]: Serial link appears to be disconnected.
Dec  1 19:12:40 gw pppd[812]: Connect time 733.7 minutes.
Dec  1 19:12:40 gw pppd[812]: Sent 48211933 bytes, received 912003211 bytes.
Dec  1 19:12:46 gw pppd[812]: Connection terminated.
Dec  1 19:13:16 gw pppd[812]: PPP session is 4712
Dec  1 19:13:16 gw pppd[812]: Connect: ppp0 <--> eth1
Dec  1 19:13:17 gw pppd[812]: CHAP authentication failed
Dec  1 19:13:17 gw pppd[812]: Connection terminated.
Dec  1 19:13:47 gw pppd[812]: PPP session is 4713
Dec  1 19:13:47 gw pppd[812]: Connect: ppp0 <--> eth1
Dec  1 19:13:48 gw pppd[812]: CHAP authentication succeeded
Dec  1 19:13:49 gw pppd[812]: local  IP address 198.51.100.87
Dec  1 19:13:49 gw pppd[812]: remote IP address 198.51.100.1
Dec  1 19:13:49 gw pppd[812]: primary   DNS address 192.0.2.53
Dec  1 19:13:49 gw pppd[812]: secondary DNS address 192.0.2.54
Dec  2 07:01:02 gw pppd[812]: Terminating on signal 15
Dec  2 07:01:02 gw pppd[812]: Connect time 707.2 minutes.
Dec  2 07:01:02 gw pppd[812]: Sent 20114 bytes, received 1984221 bytes.
Dec  2 07:01:02 gw pppd[812]: Connection terminated.
Dec  2 07:01:03 gw pppd[812]: Exit.
Dec  2 07:05:00 gw pppd[1290]: pppd 2.4.9 started by root, uid 0
Dec  2 07:05:00 gw pppd[1290]: Connect: ppp0 <--> eth1
Dec  2 07:05:01 gw pppd[1290]: CHAP authentication succeeded
Dec  2 07:05:02 gw pppd[1290]: local  IP address 198.51.100.140
Dec  2 07:05:02 gw pppd[1290]: remote IP address 198.51.100.1
LOG
"$kestal" "$scratch/syslog" &
app=$!
pids+=("$app")
main=$(timeout 30 xdotool search --sync --onlyvisible --name '^Kestal File Viewer - .*syslog$' | head -n 1)
xdotool windowsize "$main" 1000 420
sleep 1
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
import -window "$(frame_of "$main")" "$out/main-window-pppd.png"
xdotool key alt+F4
wait "$app"
echo "Screenshots in $out"
