#!/usr/bin/env bash
# Starts the real program under Xvfb in a copy of the game folder: its window must take the
# whole screen and show the title, and Esc then Esc must end it with status 0 and no score file.
set -euo pipefail
source "$(dirname "$0")/xvfb.sh"
game_dir=$1
prepare_run
start_game_copy "$game_dir"

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
leave_through_farewell
[ ! -e "$work/znscore.hof" ] || fail "a score file was written"
echo "start and quit: passed"
