#!/usr/bin/env bash
# Plays the real program under Xvfb without the mouse's motion: the wheel moves the selection to
# the second level set and a click starts it (its first picture comes in), the arrow keys take
# the paddle to both ends of its range, and Space launches the ball.
set -euo pipefail
source "$(dirname "$0")/xvfb.sh"
game_dir=$1
resources=$2
prepare_run
start_game_copy "$game_dir"
window=$(game_window)
xdotool windowfocus --sync "$window" 2>/dev/null || true

# Whether the selection's red frame runs through the row y of a screenshot.
framed() { [ "$(pixel "$1" 320 "$2")" = "255,0,0" ]; }
paddle=$resources/BmpPaddle.bmp

xdotool key space
shows_soon first framed first 49 || fail "the first entry is not framed: $(pixel first 320 49)"
xdotool click 5
shows_soon second framed second 69 || fail "the wheel did not move the selection"
not framed second 49 || fail "the first entry is still framed"
# The second level set's first picture fills the screen under the status line.
convert "$game_dir/harbour01.jpg" -crop 640x400+0+40 +repage "$work/picture.png"
picture_shown() {
  convert "$work/level.png" -crop 1280x800+0+112 +repage -sample 50% "$work/shown.png"
  difference=$({ compare -metric RMSE "$work/shown.png" "$work/picture.png" /dev/null 2>&1 ||
    true; } | sed 's/.*(\(.*\))/\1/')
  awk -v d="$difference" 'BEGIN { exit !(d < 0.1) }'
}
xdotool click 1
shows_soon level picture_shown ||
  fail "the second level set's picture is not shown (difference $difference)"

xdotool keydown Left
sleep 1.5
xdotool keyup Left
shows_soon left screen_shows "$work/left.png" "$paddle" 0 0 64 42 0 438 ||
  fail "the paddle is not at the left end"
xdotool keydown Right
sleep 1.5
xdotool keyup Right
shows_soon right screen_shows "$work/right.png" "$paddle" 0 0 64 42 576 438 ||
  fail "the paddle is not at the right end"

# Space sends the ball up from the paddle: where it rode, the picture shows again.
ball=84x84+1174+852
ball_gone() { [ "$(differing right launched $ball)" -gt 1000 ]; }
xdotool key space
shows_soon launched ball_gone || fail "the ball did not leave the paddle"

leave_through_farewell
echo "controls: passed"
