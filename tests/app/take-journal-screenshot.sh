#!/usr/bin/env bash
# Takes the screenshot of the main window showing a journal's pppd sessions:
# a journal file written by systemd-journal-remote from entries in the
# journal export format, opened with --journal-file, on a private Xvfb
# display with a window manager.
# Usage: take-journal-screenshot.sh <Kestal binary> <output dir>
set -euo pipefail

kestal=$1
out=$2
mkdir -p "$out"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
. "$(dirname "$0")/xvfb-desktop.sh"
need_tools Xvfb openbox xdotool import
start_desktop shots-journal 1024x700x24

# Five days of a mobile link: a session each morning, one dropped by the
# peer, one attempt that found no carrier.
python3 - <<'PY' | /lib/systemd/systemd-journal-remote -o "$scratch/ppp.journal" - 2>/dev/null
start = 1796112000  # 2026-12-01 08:00 UTC
def entry(t, ident, pid, message):
    print(f"__REALTIME_TIMESTAMP={t * 1000000}\n__MONOTONIC_TIMESTAMP={t}\n"
          f"_BOOT_ID=0123456789abcdef0123456789abcdef\n_HOSTNAME=box\n"
          f"SYSLOG_IDENTIFIER={ident}\n_PID={pid}\nMESSAGE={message}\n")
for day in range(5):
    t = start + day * 86400 + day * 1000
    pid = 3000 + day * 10
    entry(t, "pppd", pid, "pppd 2.4.9 started by root, uid 0")
    entry(t + 1, "chat", pid + 1, "send (ATDT*99#^M)")
    if day == 3:
        entry(t + 46, "chat", pid + 1, "expect (CONNECT)")
        entry(t + 46, "chat", pid + 1, "alarm")
        entry(t + 46, "pppd", pid, "Connect script failed")
        entry(t + 47, "pppd", pid, "Exit.")
        continue
    entry(t + 3, "pppd", pid, "Connect: ppp0 <--> /dev/ttyUSB0")
    entry(t + 5, "pppd", pid, f"local  IP address 10.64.{day}.2")
    entry(t + 5, "pppd", pid, "remote IP address 10.64.64.64")
    length = 1800 + day * 1500
    if day == 2:
        entry(t + length, "pppd", pid, "LCP terminated by peer")
    else:
        entry(t + length, "pppd", pid, "No response to 4 echo-requests")
    entry(t + length + 1, "pppd", pid, f"Connect time {length / 60:.1f} minutes.")
    entry(t + length + 1, "pppd", pid, f"Sent {length * 900} bytes, received {length * 7000} bytes.")
    entry(t + length + 2, "pppd", pid, "Connection terminated.")
    entry(t + length + 3, "pppd", pid, "Exit.")
PY

TZ=UTC LC_ALL=C "$kestal" --journal-file "$scratch/ppp.journal" &
app=$!
pids+=("$app")
main=$(timeout 30 xdotool search --sync --onlyvisible --name 'Kestal File Viewer' | head -n 1)
sleep 2
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
import -window root "$out/main-window-journal.png"
echo "$out/main-window-journal.png"
