# Shared by the end-to-end scripts (sourced): a private Xvfb screen and the game's window on it.

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Starts Xvfb on a free display of 1280 by 1024 and exports DISPLAY; sets xvfb_pid.
start_xvfb() {
  local number
  for number in $(seq $((200 + $$ % 500)) 999); do
    [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] || break
  done
  export DISPLAY=":$number"
  Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$number" ] && break
    sleep 0.1
  done
}

# Prints the id of the game's window once it has settled. SDL may replace its first window on
# the way to full screen, so it is looked up again after a moment.
game_window() {
  local window=""
  for _ in $(seq 200); do
    window=$(xdotool search --name "^Welcome to Zintrel$" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || fail "no window captioned 'Welcome to Zintrel'"
  sleep 2
  xdotool search --name "^Welcome to Zintrel$" | tail -n 1
}
