#!/usr/bin/env bash
# What a new user does first, in real windows on a private Xvfb display with
# a window manager, on a log of three calls whose lines end in LF alone:
#   1. the log opens without any dialog, its calls in the grid;
#   2. with row 1 selected, a right click on row 3 selects row 3 and opens
#      the context menu, whose Show Call Details then opens the details;
#   3. a PNG dragged from another window and dropped on the main window is
#      refused in an "Error" box, and the log stays: same caption, same rows,
#      the picture not among the recent logs.
# Usage: first-contact-xvfb.sh <Kestal binary> <drag source binary> <artifact dir>
# Exits 77 (skipped) when the X tools are not installed.
set -euo pipefail

kestal=$1
drag_source=$2
artifacts=$3
mkdir -p "$artifacts"

. "$(dirname "$0")/xvfb-desktop.sh"
need_tools Xvfb openbox xdotool xprop import convert

fail() {
  echo "FAIL: $*" >&2
  [ -n "${DISPLAY:-}" ] && import -window root "$artifacts/first-contact-failed.png" 2>/dev/null || true
  exit 1
}

start_desktop first

no_dialog() {
  local box
  for box in Warning Error Confirm Information; do
    if xdotool search --onlyvisible --name "^$box\$" >/dev/null 2>&1; then
      fail "a $box dialog came $1"
    fi
  done
}

# The mean brightness (0 to 1) of each pixel line of the window's Bytes
# columns, empty for this log, one a line: the selected row is a dark band
# in a white grid.
line_brightness() {
  import -window "$1" "$scratch/lines.png"
  convert "$scratch/lines.png" -crop 100x+440+0 +repage -colorspace Gray -resize '1x!' \
    -depth 16 txt:- | awk -F'[(,)]' 'NR > 1 { print $3 / 65535 }'
}
# The last pixel line of the first dark band of 10 lines or more (its top
# may join the title row's bottom line).
dark_band_end() {
  line_brightness "$1" |
    awk '!found { if ($1 < 0.6) ++run; else { if (run >= 10) { found = 1; print NR - 2 } run = 0 } }'
}

# --- 1. A log whose lines end in LF alone opens without a dialog ----------
log="$scratch/unix-log.txt"
for day in 01 02 03; do
  printf '12-%s-2026 09:00:00.00 - Remote access driver log opened.\n12-%s-2026 09:10:00.00 - Remote access driver log closed.\n' "$day" "$day" >>"$log"
done
caption="^Kestal File Viewer - $log\$"
"$kestal" "$log" &
app=$!
pids+=("$app")
window=$(timeout 30 xdotool search --sync --onlyvisible --name "$caption" | head -n 1) ||
  fail "the main window did not appear for the LF-only log (a dialog before it?)"
sleep 1
no_dialog "for a log with LF line ends"
row1=$(dark_band_end "$window")
[ -n "$row1" ] || fail "no selected row in the grid"
echo "run 1: the LF-only log opened without a dialog, row 1 selected, ending at line $row1"
import -window root "$artifacts/first-contact-lf-log.png"

# --- 2. A right click selects the row under the pointer --------------------
xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
xdotool mousemove --window "$window" 200 $((row1 - 8 + 32)) click 3
sleep 0.5
import -window root "$artifacts/first-contact-right-click.png"
xdotool key --clearmodifiers Down Return
for _ in $(seq 50); do
  [ "$(xdotool search --onlyvisible --name '^Kestal File Viewer$' | wc -l)" -ge 1 ] && break
  sleep 0.1
done
details=$(xdotool search --onlyvisible --name '^Kestal File Viewer$' | head -n 1) ||
  fail "the context menu's Show Call Details did not open the details window"
# Its Close button has the focus.
xdotool windowactivate --sync "$details" >/dev/null 2>&1 || true
sleep 0.3
xdotool key --clearmodifiers Return
sleep 0.5
now=$(dark_band_end "$window")
[ "$now" = "$((row1 + 32))" ] || fail "after a right click on row 3 the selected row ends at line '$now', not $((row1 + 32))"
echo "run 2: a right click on row 3 selected it, and its menu showed the call"

# --- 3. A dropped picture is refused, and the log stays --------------------
convert -size 32x32 xc:red "$scratch/picture.png"
"$drag_source" "$scratch/picture.png" &
pids+=($!)
source=$(timeout 30 xdotool search --sync --onlyvisible --name '^kestal-drag-source$' | head -n 1) ||
  fail "the drag source did not appear"
xdotool windowactivate --sync "$source" >/dev/null 2>&1 || true
sleep 0.3
xdotool mousemove --window "$source" 60 60 mousedown 1
for step in $(seq 1 10); do
  xdotool mousemove $((60 + step * 50)) $((60 + step * 35))
  sleep 0.1
done
xdotool mouseup 1
dialog=$(timeout 30 xdotool search --sync --onlyvisible --name '^Error$' | head -n 1) ||
  fail "no Error box came for the dropped picture"
import -window root "$artifacts/first-contact-dropped-picture.png"
xdotool windowactivate --sync "$dialog" >/dev/null 2>&1 || true
sleep 0.3
xdotool key --clearmodifiers Return
sleep 0.5
xdotool search --onlyvisible --name "$caption" >/dev/null 2>&1 ||
  fail "the dropped picture took the log's caption"
[ "$(dark_band_end "$window")" = "$((row1 + 32))" ] || fail "the log's rows changed after the drop"
if grep -qs picture.png "$XDG_CONFIG_HOME/Kestal/Kestal.conf"; then
  fail "the picture went into the recent logs"
fi
echo "run 3: the dropped picture was refused, the log stayed"

xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
sleep 0.3
xdotool key --clearmodifiers alt+F4
for _ in $(seq 150); do
  kill -0 "$app" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$app" 2>/dev/null && fail "the program did not end after Alt+F4"
rc=0
wait "$app" || rc=$?
[ "$rc" -eq 0 ] || fail "exit code $rc after Alt+F4"
echo "clean exit"
