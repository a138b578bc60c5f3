#!/usr/bin/env bash
# The real program twice on a private Xvfb display with a window manager and
# settings of its own:
#   1. the first start opens maximised; the user restores the window, gives
#      it a size and place of his own and widens the first column, then
#      ends the program with Alt+F4;
#   2. the second start opens the window restored, at that size and place,
#      with the title row drawn exactly as it was left.
# Usage: window-memory-xvfb.sh <Kestal binary> <sample Windows directory> <artifact dir>
# Exits 77 (skipped) when the X tools are not installed.
set -euo pipefail

kestal=$1
sample=$2
artifacts=$3
mkdir -p "$artifacts"

. "$(dirname "$0")/xvfb-desktop.sh"
need_tools Xvfb openbox xdotool xprop xwininfo import convert compare

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

start_desktop memory

mkdir "$scratch/windows"
cp -r "$sample/." "$scratch/windows/"
title='^Kestal File Viewer$'

start() {
  WINDIR="$scratch/windows" "$kestal" &
  app=$!
  pids+=("$app")
  window=$(timeout 30 xdotool search --sync --onlyvisible --name "$title" | head -n 1) ||
    fail "the main window did not appear"
  sleep 1
}

maximised() {
  local state
  state=$(xprop -id "$window" _NET_WM_STATE)
  [[ $state == *_NET_WM_STATE_MAXIMIZED_VERT* && $state == *_NET_WM_STATE_MAXIMIZED_HORZ* ]]
}

# x y width height of the window's client area on the screen.
client_geometry() {
  xwininfo -id "$window" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}

# The title row and the first call rows, as drawn.
shoot_titles() {
  import -window "$window" "$scratch/window.png"
  convert "$scratch/window.png" -crop 600x40+0+20 +repage "$1"
}

end_with_alt_f4() {
  local rc=0
  xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
  sleep 0.3
  xdotool key --clearmodifiers alt+F4
  for _ in $(seq 150); do
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$app" 2>/dev/null && fail "the program did not end after Alt+F4"
  wait "$app" || rc=$?
  [ "$rc" -eq 0 ] || fail "exit code $rc after Alt+F4"
}

# --- 1. First start: maximised; the user changes size, place and a column --
start
maximised || fail "the first start is not maximised"
read -r x y _ _ < <(client_geometry)
# A double click on the title bar restores the window (openbox).
xdotool mousemove $((x + 200)) $((y - 8)) click --repeat 2 --delay 80 1
sleep 1
maximised && fail "the window could not be restored"
xdotool windowsize "$window" 760 520
xdotool windowmove "$window" 60 50
sleep 1
read -r x y width height < <(client_geometry)
echo "left at ${width}x${height}+${x}+${y}"
# The border right of Start Time (110 pixels wide) dragged 90 pixels on, in
# the title row below the menu bar (about 25 pixels).
xdotool mousemove $((x + 110)) $((y + 33)) mousedown 1 mousemove $((x + 150)) $((y + 33)) \
  mousemove $((x + 200)) $((y + 33)) mouseup 1
sleep 0.5
shoot_titles "$scratch/titles-first.png"
cp "$scratch/window.png" "$artifacts/memory-first-run.png"
end_with_alt_f4
# In the settings: the section [dialup], the key Grid\ColumnWidths.
widths=$(awk '/^\[/ {section=$0} section == "[dialup]" && /^Grid\\ColumnWidths=/' \
  "$XDG_CONFIG_HOME/Kestal/Kestal.conf") || true
echo "kept: $widths"
first=$(echo "$widths" | sed -n 's/^Grid\\ColumnWidths=\([0-9]*\).*/\1/p')
[ -n "$first" ] && [ "$first" -ge 180 ] || fail "the widened column was not kept: '$widths'"

# --- 2. Second start: as it was left ---------------------------------------
start
maximised && fail "the second start is maximised again"
read -r x2 y2 width2 height2 < <(client_geometry)
echo "back at ${width2}x${height2}+${x2}+${y2}"
[ "$width2" -eq "$width" ] && [ "$height2" -eq "$height" ] ||
  fail "the size is ${width2}x${height2}, not ${width}x${height}"
[ "$x2" -eq "$x" ] && [ "$y2" -eq "$y" ] || fail "the place is +${x2}+${y2}, not +${x}+${y}"
shoot_titles "$scratch/titles-second.png"
cp "$scratch/window.png" "$artifacts/memory-second-run.png"
differ=$(compare -metric AE "$scratch/titles-first.png" "$scratch/titles-second.png" null: 2>&1 || true)
echo "title row pixels that differ: $differ"
[ "$differ" = "0" ] || fail "the title row is not drawn as it was left"
end_with_alt_f4
echo "size, place and column widths back after a restart"
