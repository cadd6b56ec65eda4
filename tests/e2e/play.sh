#!/usr/bin/env bash
# Plays the real program under Xvfb in a copy of the game folder: Space and Enter start the
# first level set, its picture comes in with the status line's 0 and 3, the paddle follows the
# mouse to both ends, 'p' pauses and resumes, a click launches the ball, and Esc leaves through
# the farewell screen. The game is recorded, and its record then replays headless frame for
# frame, and is made into a video that holds the pause as the screen showed it. With
# ZINTREL_SCREENSHOT set to a file name, it also saves a picture of the game in play there.
set -euo pipefail
source "$(dirname "$0")/xvfb.sh"
game_dir=$1
resources=$2
prepare_run
start_game_copy "$game_dir" --record game.rec
window=$(game_window)
xdotool windowfocus --sync "$window" 2>/dev/null || true

digits=$resources/BmpDigits.bmp
paddle=$resources/BmpPaddle.bmp
words=$resources/BmpZNText.bmp
in_level() { [ "$(differing title level)" -gt 100000 ] && screen_shows "$work/level.png" "$@"; }

shot title
xdotool key space
sleep 1
xdotool key Return
shows_soon level in_level "$digits" 240 0 24 24 587 4 ||
  fail "the level's picture did not come in with its lives symbol"
screen_shows "$work/level.png" "$digits" 0 0 24 24 4 4 || fail "the score is not 0"
screen_shows "$work/level.png" "$digits" 72 0 24 24 612 4 || fail "the lives are not 3"

# The paddle's left edge follows the mouse's motion to either end of its range.
xdotool mousemove_relative -- -2000 0
shows_soon left screen_shows "$work/left.png" "$paddle" 0 0 64 42 0 438 ||
  fail "the paddle is not at the left end"
xdotool mousemove_relative -- 2000 0
shows_soon right screen_shows "$work/right.png" "$paddle" 0 0 64 42 576 438 ||
  fail "the paddle is not at the right end"

# 'p' pauses and resumes. The ball still rides the paddle, so no bomb can fall yet and end the
# life while the key is pressed.
xdotool key p
shows_soon paused screen_shows "$work/paused.png" "$words" 0 40 336 40 152 220 ||
  fail "no pause picture"
xdotool key p
shows_soon resumed not screen_shows "$work/resumed.png" "$words" 0 40 336 40 152 220 ||
  fail "still paused"

# A click, however quick (xdotool's press and release come together), sends the ball up from the
# paddle: where it rode, the picture shows again.
ball=84x84+1174+852
[ "$(differing level right $ball)" -gt 1000 ] || fail "no ball on the paddle"
ball_gone() { [ "$(differing level launched $ball)" -lt 100 ]; }
xdotool click 1
shows_soon launched ball_gone || fail "the ball did not leave the paddle"
# The README's picture of play is this moment, at the game's own size.
if [ -n "${ZINTREL_SCREENSHOT:-}" ]; then
  convert "$work/launched.png" -crop 1280x960+0+32 +repage -sample 50% "$ZINTREL_SCREENSHOT"
fi

leave_through_farewell

grep -q " frame 1 " "$work/game.rec" || fail "no frame of play was recorded"
replayed=$(cd "$work" && SDL_VIDEODRIVER=dummy ./zintrel --replay game.rec 2>&1) ||
  fail "the recorded game replayed differently: $replayed"
echo "$replayed" | grep -q "frames of play matched the record" || fail "replay said: $replayed"

# The record made into a video, off the screen, at the game's own size: its closest frame to
# the screenshot of the pause (where the screen shows the game at twice its size, 32 rows down)
# is that picture.
# Its music, which only the video's sound would hold, is left silent: a soundfont that is not
# there spares the synthesiser's work.
made=$(cd "$work" && SDL_SOUNDFONTS=$work/none.sf2 ./zintrel --replay game.rec --video game.mkv \
  --video-scale 1 2>&1) ||
  fail "the video was not made: $made"
closest=$(ffmpeg -v error -i "$work/game.mkv" -loop 1 -i "$work/paused.png" -lavfi \
  "[1:v]crop=1280:960:0:32,scale=640:480:flags=neighbor,format=yuv420p[shot];[0:v]format=yuv420p[video];[video][shot]psnr=stats_file=-:shortest=1" \
  -f null - | sed 's/.*psnr_avg:\([^ ]*\).*/\1/' | sort -g | tail -n 1)
awk -v db="$closest" 'BEGIN { exit !(db >= 35) }' ||
  fail "no frame of the video is the paused game's picture: the closest differs at $closest dB"
echo "play: passed ($replayed; the video's frame of the pause at $closest dB)"
