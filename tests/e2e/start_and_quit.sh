#!/usr/bin/env bash
# Starts the real program under Xvfb in a copy of the game folder: its window must take the
# whole screen and show the title, and Esc then Esc must end it with status 0 and no score file.
set -euo pipefail
source "$(dirname "$0")/xvfb.sh"
game_dir=$1
work=$(mktemp -d)
xvfb_pid=""
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

cp -r "$game_dir"/. "$work"/
rm -f "$work/znscore.hof"

start_xvfb

unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy ZINTREL_NO_DIALOGS=1 XDG_CONFIG_HOME=$work/config
(cd "$work" && exec timeout -k 5 90 ./zintrel) &
game_pid=$!

# Full screen: the window covers the whole 1280 by 1024 screen.
window=$(game_window)
geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "1280x1024" ] || fail "the window is $geometry, not the whole screen"

# The title picture fills the 4:3 frame in the middle of the screen; the bars beside it are
# black.
import -window root "$work/screen.png"
centre=$(convert "$work/screen.png" -format '%[fx:int(255*p{640,300}.r)],%[fx:int(255*p{640,300}.g)],%[fx:int(255*p{640,300}.b)]' info:)
bar=$(convert "$work/screen.png" -format '%[fx:int(255*p{640,10}.r+255*p{640,10}.g+255*p{640,10}.b)]' info:)
[ "$centre" != "0,0,0" ] || fail "the title picture is not shown"
[ "$bar" = "0" ] || fail "the bars above the picture are not black"

xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key Escape
sleep 1
kill -0 "$game_pid" 2>/dev/null || fail "the first Esc ended the game without the farewell"
xdotool key Escape
status=0
wait "$game_pid" || status=$?
game_pid=""
[ "$status" -eq 0 ] || fail "exit status $status"
[ ! -e "$work/znscore.hof" ] || fail "a score file was written"
echo "start and quit: passed"
