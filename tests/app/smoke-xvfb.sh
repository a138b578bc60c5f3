#!/usr/bin/env bash
# Starts the real program on a private Xvfb display with a window manager:
#   1. on the sample Windows directory: the main window appears maximised
#      with the call rows (screenshot kept), Enter opens the details window,
#      and Alt+F4 on the main window ends the program with exit code 0;
#   2. on a Windows directory without a log: the "Error" dialog appears
#      while the main window is not yet mapped; after OK the main window
#      comes, and Alt+F4 ends it with exit code 0;
#   3. without any Windows directory and without an argument: no message
#      box, the main window appears at once (empty, ready for File > Open);
#   4. "Kestal LOG" on a log outside any Windows directory: its calls are
#      shown under a caption that names it;
#   5. View > Follow on a log of one call: calls appended to it appear in
#      the grid by themselves, without any dialog;
#   6. a log with three corrupted calls: a "Warning" box for each, one after
#      the other, each answered with Enter, then the main window.
# Usage: smoke-xvfb.sh <Kestal binary> <sample Windows directory> <artifact dir>
# Exits 77 (skipped) when the X tools are not installed.
set -euo pipefail

kestal=$1
sample=$2
artifacts=$3
mkdir -p "$artifacts"

. "$(dirname "$0")/xvfb-desktop.sh"
need_tools Xvfb openbox xdotool xprop xwininfo import convert

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

start_desktop smoke

title='^Kestal File Viewer$'

# Alt+F4 on the main window: the program must end by itself, with exit
# code 0.
end_with_alt_f4() {
  local window=$1 app=$2 rc=0
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

# --- 1. The sample log ------------------------------------------------------
mkdir "$scratch/windows"
cp -r "$sample/." "$scratch/windows/"
WINDIR="$scratch/windows" "$kestal" &
app=$!
pids+=("$app")
window=$(timeout 30 xdotool search --sync --onlyvisible --name "$title" | head -n 1) ||
  fail "the main window did not appear"
sleep 1

state=$(xprop -id "$window" _NET_WM_STATE)
echo "$state"
[[ $state == *_NET_WM_STATE_MAXIMIZED_VERT* && $state == *_NET_WM_STATE_MAXIMIZED_HORZ* ]] ||
  fail "the main window is not maximised"
width=$(xwininfo -id "$window" | awk '/Width:/ {print $2}')
[ "$width" -ge 1000 ] || fail "the main window is only $width pixels wide"

shot="$artifacts/smoke-main-window.png"
import -window root "$shot"
window_shot="$scratch/window.png"
import -window "$window" "$window_shot"
# Rows 2 to 6 of the table lie below the menu bar (about 25 pixels), the
# title row (17) and row 1 (16): with the sample's calls they hold text.
ink=$(convert "$window_shot" -crop 600x80+0+60 +repage -threshold 50% -negate -format "%[fx:mean*w*h]" info:)
echo "dark pixels in rows 2-6: $ink"
awk -v ink="$ink" 'BEGIN { exit !(ink > 300) }' || fail "no call rows in the grid"

# The grid has the focus from the start: Enter opens the details window
# (same caption), and Alt+F4 on the main window still ends the program.
xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
xdotool key --clearmodifiers Return
for _ in $(seq 100); do
  [ "$(xdotool search --onlyvisible --name "$title" | wc -l)" -ge 2 ] && break
  sleep 0.1
done
[ "$(xdotool search --onlyvisible --name "$title" | wc -l)" -ge 2 ] ||
  fail "Enter in the grid did not open the details window"
import -window root "$artifacts/smoke-call-details.png"

end_with_alt_f4 "$window" "$app"
echo "run 1: maximised, call rows shown, Enter shows the call, clean exit with the details open"

# --- 2. No log: the error comes before the main window ----------------------
mkdir "$scratch/nolog"
WINDIR="$scratch/nolog" "$kestal" &
app=$!
pids+=("$app")
dialog=$(timeout 30 xdotool search --sync --onlyvisible --name '^Error$' | head -n 1) ||
  fail "the Error dialog did not appear"
sleep 0.5
if xdotool search --onlyvisible --name "$title" >/dev/null 2>&1; then
  fail "the main window was mapped before the Error dialog was answered"
fi
import -window root "$artifacts/smoke-error-dialog.png"
xdotool windowactivate --sync "$dialog" >/dev/null 2>&1 || true
sleep 0.3
xdotool key --clearmodifiers Return
window=$(timeout 30 xdotool search --sync --onlyvisible --name "$title" | head -n 1) ||
  fail "the main window did not appear after the Error dialog"
sleep 0.5
end_with_alt_f4 "$window" "$app"
echo "run 2: Error dialog first, then the main window, clean exit"

# --- 3. No Windows directory: the main window all the same ---------------
mkdir "$scratch/home"
env -u WINEPREFIX WINDIR= HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" "$kestal" &
app=$!
pids+=("$app")
window=$(timeout 30 xdotool search --sync --onlyvisible --name "$title" | head -n 1) ||
  fail "the main window did not appear without a Windows directory"
if xdotool search --onlyvisible --name '^Kestal$' >/dev/null 2>&1; then
  fail "a message box came without a Windows directory"
fi
import -window root "$artifacts/smoke-no-windows-directory.png"
end_with_alt_f4 "$window" "$app"
echo "run 3: no Windows directory, the main window at once, clean exit"

# --- 4. A log named on the command line, no Windows directory -------------
mkdir "$scratch/copied"
cp "$sample/ppplog.txt" "$scratch/copied/ppplog.txt"
env -u WINEPREFIX WINDIR= HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" \
  "$kestal" "$scratch/copied/ppplog.txt" &
app=$!
pids+=("$app")
window=$(timeout 30 xdotool search --sync --onlyvisible --name "^Kestal File Viewer - $scratch/copied/ppplog.txt\$" | head -n 1) ||
  fail "the main window did not appear with the log's path in its caption"
sleep 1
window_shot="$scratch/window.png"
import -window "$window" "$window_shot"
ink=$(convert "$window_shot" -crop 600x80+0+60 +repage -threshold 50% -negate -format "%[fx:mean*w*h]" info:)
echo "dark pixels in rows 2-6: $ink"
awk -v ink="$ink" 'BEGIN { exit !(ink > 300) }' || fail "no call rows for the log named on the command line"
import -window root "$artifacts/smoke-log-argument.png"
end_with_alt_f4 "$window" "$app"
echo "run 4: the log named on the command line shows its calls, clean exit"

# --- 5. Follow: appended calls appear without a dialog --------------------
log="$scratch/copied/followed.txt"
printf '12-04-2026 09:00:00.00 - Remote access driver log opened.\r\n12-04-2026 09:00:30.00 - Remote access driver log closed.\r\n' >"$log"
"$kestal" "$log" &
app=$!
pids+=("$app")
window=$(timeout 30 xdotool search --sync --onlyvisible --name "^Kestal File Viewer - $log\$" | head -n 1) ||
  fail "the main window did not appear for the followed log"
sleep 1
xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
xdotool key --clearmodifiers alt+v
sleep 0.5
xdotool key --clearmodifiers f
sleep 0.5
# An unreadable start time too: counted in the status bar, never a warning.
for hour in 10 11 12 13 14 xx; do
  printf '12-04-2026 %s:00:00.00 - Remote access driver log opened.\r\n12-04-2026 %s:00:30.00 - Remote access driver log closed.\r\n' "$hour" "$hour" >>"$log"
done
shown=0
for _ in $(seq 30); do
  sleep 0.2
  import -window "$window" "$window_shot"
  ink=$(convert "$window_shot" -crop 600x80+0+60 +repage -threshold 50% -negate -format "%[fx:mean*w*h]" info:)
  if awk -v ink="$ink" 'BEGIN { exit !(ink > 300) }'; then shown=1; break; fi
done
echo "dark pixels in rows 2-6 after the append: $ink"
[ "$shown" -eq 1 ] || fail "the appended calls did not appear while following"
for caption in Warning Error Confirm Information; do
  if xdotool search --onlyvisible --name "^$caption\$" >/dev/null 2>&1; then
    fail "a $caption dialog came while following"
  fi
done
import -window root "$artifacts/smoke-follow.png"
end_with_alt_f4 "$window" "$app"
echo "run 5: appended calls shown while following, no dialog, clean exit"

# --- 6. One warning for each corrupted call, one box after the other -------
log="$scratch/copied/corrupted.txt"
: >"$log"
for hour in 0x 1x 2x; do
  printf '12-04-2026 %s:00:00.00 - Remote access driver log opened.\r\n12-04-2026 09:00:30.00 - Remote access driver log closed.\r\n' "$hour" >>"$log"
done
"$kestal" "$log" &
app=$!
pids+=("$app")
for n in 1 2 3; do
  dialog=$(timeout 30 xdotool search --sync --onlyvisible --name '^Warning$' | head -n 1) ||
    fail "warning $n did not appear"
  if xdotool search --onlyvisible --name "^Kestal File Viewer - $log\$" >/dev/null 2>&1; then
    fail "the main window was mapped before warning $n was answered"
  fi
  [ "$n" -eq 1 ] && import -window root "$artifacts/smoke-corrupt-warning.png"
  xdotool windowactivate --sync "$dialog" >/dev/null 2>&1 || true
  sleep 0.3
  xdotool key --clearmodifiers Return
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^Warning$' >/dev/null 2>&1 || break
    sleep 0.1
  done
done
window=$(timeout 30 xdotool search --sync --onlyvisible --name "^Kestal File Viewer - $log\$" | head -n 1) ||
  fail "the main window did not appear after the three warnings"
if xdotool search --onlyvisible --name '^Warning$' >/dev/null 2>&1; then
  fail "a fourth warning came"
fi
end_with_alt_f4 "$window" "$app"
echo "run 6: three warnings one after the other, then the main window, clean exit"
