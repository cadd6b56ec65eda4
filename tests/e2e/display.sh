#!/usr/bin/env bash
# Starts the real program under Xvfb in a copy of the game folder with a configuration folder of
# its own. The first start takes the whole screen and shows the title picture between black
# bars. F12 on the title screen saves a PNG file in the game folder that equals the screen
# (drawn by SDL's software renderer, whose colours are SDL's own expansion of the 16-bit frame;
# a GL renderer's rounding may differ by one level);
# O opens the Options screen, Down and Left turn the music to 0, Esc comes back to the title, and
# the settings file says so (ZINTREL_OPTIONS_SHOT=FILE keeps the Options screen as FILE);
# Alt+Enter takes the game to a window, which is then moved and resized, once smaller than the
# game, which it is not let be; after Esc, Esc the settings file holds the window, and the next
# start opens it there, at that size. No score file is written.
set -euo pipefail
source "$(dirname "$0")/xvfb.sh"
game_dir=$1
prepare_run

cp -r "$game_dir"/. "$work"/
rm -f "$work/znscore.hof" "$work"/zintrel-*.png
start_xvfb
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy ZINTREL_NO_DIALOGS=1 SDL_RENDER_DRIVER=software
export XDG_CONFIG_HOME=$work/config
settings=$work/config/zintrel/zintrel.conf

start_game() {
  (cd "$work" && exec timeout -k 5 150 ./zintrel 2>>"$work/stderr.txt") &
  game_pid=$!
  window=$(game_window) || fail "the game said: $(cat "$work/stderr.txt" 2>/dev/null)"
  xdotool windowfocus --sync "$window" 2>/dev/null || true
}

start_game
[ -f "$settings" ] || fail "no settings file on the first start"
grep -qx "fullscreen = yes" "$settings" || fail "the first start is not full screen: $(cat "$settings")"
geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "1280x1024" ] || fail "the window is $geometry, not the whole screen"
shot screen
[ "$(pixel screen 320 134)" != "0,0,0" ] || fail "the title picture is not shown"
bar=$(convert "$work/screen.png" -crop 1x1+640+10 -format '%[fx:int(255*(r+g+b))]' info:)
[ "$bar" = 0 ] || fail "the bars above the picture are not black"

# F12: the frame on show, at the game's own size. Full screen on 1280 by 1024 the frame fills
# the screen at twice its size, 32 rows down.
xdotool key F12
saved() { compgen -G "$work/zintrel-*.png" >/dev/null; }
shows_soon screen saved || fail "F12 saved no screenshot"
shots=("$work"/zintrel-*.png)
[ "${#shots[@]}" -eq 1 ] && [ -f "${shots[0]}" ] || fail "F12 saved no screenshot"
[[ "$(basename "${shots[0]}")" =~ ^zintrel-[0-9]{8}-[0-9]{6}\.png$ ]] ||
  fail "the screenshot is named ${shots[0]}"
[ "$(identify -format '%wx%h' "${shots[0]}")" = "640x480" ] || fail "the screenshot is not 640x480"
convert "$work/screen.png" -crop 1280x960+0+32 +repage -sample 50% "$work/shown.png"
differ=$(compare -metric AE "$work/shown.png" "${shots[0]}" /dev/null 2>&1 || true)
[ "$differ" = "0" ] || fail "the screenshot differs from the screen in $differ pixels"

# O: the Options screen, its board over the title's sky; the music row to 0 with the keys; Esc:
# the title again.
xdotool key o
board() { [ "$(pixel options 320 60)" != "$(pixel screen 320 60)" ]; }
shows_soon options board || fail "O did not open the Options screen"
if [ -n "${ZINTREL_OPTIONS_SHOT:-}" ]; then
  convert "$work/options.png" -crop 1280x960+0+32 +repage -resize 640x480 "$ZINTREL_OPTIONS_SHOT"
fi
xdotool key Down
for _ in $(seq 10); do xdotool key Left; done
file_says "$settings" "music_volume = 0" || fail "the music's volume was not kept: $(cat "$settings")"
xdotool key Escape
shows_soon title same screen title || fail "Esc did not come back to the title"

# Alt+Enter: to a window, which the player moves and resizes; one smaller than the game is
# brought back to the game's size.
xdotool key alt+Return
windowed() {
  window=$(xdotool search --name "^Welcome to Zintrel$" | tail -n 1)
  [[ "$(xdotool getwindowgeometry "$window")" != *"Geometry: 1280x1024"* ]]
}
shows_soon windowed windowed || fail "Alt+Enter did not leave full screen"
xdotool windowsize "$window" 320 200
file_says "$settings" "window_height = 480" || fail "a window below 480 rows was kept: $(cat "$settings")"
xdotool windowsize "$window" 900 700
xdotool windowmove "$window" 40 30
sleep 1
leave_through_farewell
grep -qx "fullscreen = no" "$settings" || fail "the window was not kept: $(cat "$settings")"
grep -qx "window_width = 900" "$settings" && grep -qx "window_height = 700" "$settings" ||
  fail "the window's size was not kept: $(cat "$settings")"
[ ! -e "$settings.new" ] || fail "a half-written settings file was left"

# The next start: the window comes back at its size and place.
start_game
restored() {
  geometry=$(xdotool getwindowgeometry "$window")
  [[ "$geometry" == *"Geometry: 900x700"* && "$geometry" == *"Position: 40,30"* ]]
}
shows_soon restored restored || fail "the window came back as $geometry"
leave_through_farewell
[ ! -e "$work/znscore.hof" ] || fail "a score file was written"
echo "display: passed"
