# Shared by the real-window checks: a private X display with a window
# manager, in a scratch folder removed on exit. Source it, then:
#   need_tools TOOL...        exits 77 (skipped) when one is not installed
#   start_desktop NAME [WxHxD] makes $scratch, starts Xvfb (1024x768x24
#                             unless told) and openbox, and points DISPLAY,
#                             XDG_RUNTIME_DIR and XDG_CONFIG_HOME (the
#                             settings) at them
#   frame_of WINDOW           the window manager's frame around a window
# The script defines fail() itself, before start_desktop; background
# programs it starts go into pids, which are ended on exit.

need_tools() {
  local tool
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIP: $tool is not installed" >&2
      exit 77
    fi
  done
}

pids=()
scratch=
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  [ -n "$scratch" ] && rm -rf "$scratch"
}
trap cleanup EXIT

start_desktop() {
  scratch=$(mktemp -d "/tmp/kestal-$1-XXXXXX")
  # Xvfb picks a free display number and writes it to fd 5.
  Xvfb -displayfd 5 -screen 0 "${2:-1024x768x24}" -nolisten tcp 5>"$scratch/display" 2>/dev/null &
  pids+=($!)
  for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
  [ -s "$scratch/display" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -n 1 "$scratch/display")"
  export XDG_RUNTIME_DIR="$scratch/runtime"
  # Settings (recent logs, window places) go to the scratch folder, never
  # the user's.
  export XDG_CONFIG_HOME="$scratch/config"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  unset QT_QPA_PLATFORM QT_SCALE_FACTOR

  openbox >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
  done
}

frame_of() {
  xwininfo -id "$1" -children | awk '/Parent window id/ {print $4}'
}
