#!/usr/bin/env bash
# Starts the real program under Xvfb as the level editor on a new file: two gulls placed by
# clicks, one turned by dragging its arrow, the other made of the second kind and given a band
# by dragging its top and bottom; Ctrl+S saves and Esc leaves with status 0, and the file holds
# exactly those gulls. Then a third gull added and a termination request (as at logout): the
# editor ends at once, with status 0, the file as saved and the unsaved levels in made.znl~;
# the next edit offers them, Y takes them up and Ctrl+S saves them. With ZINTREL_EDITOR_SHOT set
# to a file name, it also saves a picture of the editor there, at the game's own size.
set -euo pipefail
source "$(dirname "$0")/xvfb.sh"
game_dir=$1
prepare_run
start_game_copy "$game_dir" --edit made.znl
window=$(game_window)
xdotool windowfocus --sync "$window" 2>/dev/null || true

# The game's 640 by 480 screen fills the 1280 by 1024 screen at twice its size, 32 rows down.
at() { echo "$((2 * $1)) $((2 * $2 + 32))"; }
point() {
  # shellcheck disable=SC2046
  xdotool mousemove $(at "$1" "$2")
  sleep 0.3
}
click() {
  point "$1" "$2"
  xdotool click 1
  sleep 0.3
}
drag() {
  point "$1" "$2"
  xdotool mousedown 1
  sleep 0.3
  point "$(( ($1 + $3) / 2 ))" "$(( ($2 + $4) / 2 ))"
  point "$3" "$4"
  xdotool mouseup 1
  sleep 0.3
}

# A gull at (100, 60), its arrow's head dragged from (157, 92) to (102, 92): 120 pixels a second
# to the left.
click 132 92
drag 157 92 102 92
# A gull at (300, 120) of the second kind, its band from 80 to 200.
click 332 152
xdotool key a
sleep 0.3
drag 332 120 332 80
drag 332 183 332 263
xdotool key ctrl+s
shows_soon editor test -f "$work/made.znl" || fail "Ctrl+S wrote no file"
if [ -n "${ZINTREL_EDITOR_SHOT:-}" ]; then
  convert "$work/editor.png" -crop 1280x960+0+32 +repage -sample 50% "$ZINTREL_EDITOR_SHOT"
fi

expected=$(printf 'Zintrel Level File Version 1.0\r\nLevel=1,3,3,2,harbour01.jpg\r\nGull=100,60,-120,0,0,0,0\r\nGull=300,120,100,0,1,80,200\r\n')
[ "$(cat "$work/made.znl")" = "$expected" ] || fail "the file holds: $(cat -A "$work/made.znl")"

xdotool key Escape
status=0
wait "$game_pid" || status=$?
game_pid=""
[ "$status" -eq 0 ] || fail "exit status $status"

# Starts the editor on made.znl again, its standard error in NAME.err.
edit_again() {
  (cd "$work" && exec timeout -k 5 150 ./zintrel --edit made.znl 2>"$work/$1.err") &
  game_pid=$!
  window=$(game_window)
  xdotool windowfocus --sync "$window" 2>/dev/null || true
}
edit_again ended
click 500 300
request_termination 20
[ "$status" -eq 0 ] || fail "ended by a termination request: exit status $status"
[ "$(cat "$work/made.znl")" = "$expected" ] || fail "the termination request changed made.znl"
kept=$(printf 'Zintrel Level File Version 1.0\r\nLevel=1,3,3,3,harbour01.jpg\r\nGull=100,60,-120,0,0,0,0\r\nGull=300,120,100,0,1,80,200\r\nGull=468,268,100,0,0,0,0\r\n')
[ "$(cat "$work/made.znl~")" = "$kept" ] || fail "made.znl~ holds: $(cat -A "$work/made.znl~" 2>&1)"
grep -qxF "zintrel: the unsaved levels are kept in made.znl~" "$work/ended.err" ||
  fail "ending, it said: $(cat "$work/ended.err")"

edit_again recovered
# Y takes the kept levels up and Ctrl+S saves them. A busy machine may still be settling the
# new window when the keys come, so they are sent again until the file holds the levels: a
# second Y does nothing once the offer is answered.
taken_up() { [ "$(cat "$work/made.znl")" = "$kept" ]; }
for _ in 1 2 3; do
  xdotool key y
  sleep 0.3
  xdotool key ctrl+s
  shows_soon saved taken_up && break
done
taken_up || fail "the levels taken up were not saved"
[ ! -e "$work/made.znl~" ] || fail "made.znl~ is still there once taken up"
xdotool key Escape
status=0
wait "$game_pid" || status=$?
game_pid=""
[ "$status" -eq 0 ] || fail "exit status $status after taking the levels up"
echo "editor: passed"
