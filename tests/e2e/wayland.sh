#!/usr/bin/env bash
# Plays the real program on a real Wayland compositor: sway's headless back end on an output of
# 1280 by 960 pixels scaled twice, started as an unprivileged user (sway refuses root), with
# the pointer and the keyboard of virtual_seat (a headless sway has neither), keys typed by
# wtype (each a keyboard that comes and goes), the mouse moved and pressed by sway's own cursor
# commands, and the screen taken by grim. SDL's driver must be Wayland's, drawing on the
# output's real pixels; the window's app id is the desktop entry's StartupWMClass. The title
# shows; F12 saves a picture equal to the screen; Space and Enter start a game; the paddle
# follows the relative motion; 'p' pauses and resumes; Alt+Enter gives a window and back; a
# window hidden in sway's scratchpad pauses and draws next to nothing, and once shown answers
# again; a click launches the ball; Esc, Esc ends with status 0, and the settings keep the
# window's size but no place. Then, with WAYLAND_DISPLAY naming no compositor, the program says
# so and plays on X11 (Xvfb). Skipped (status 77) where sway, grim, wtype or jq is missing.
set -euo pipefail
source "$(dirname "$0")/xvfb.sh"
game_dir=$1
resources=$2
virtual_seat=$3
entry=$(dirname "$0")/../../packaging/zintrel.desktop.in
for tool in sway swaymsg grim wtype jq; do
  command -v "$tool" >/dev/null || {
    echo "wayland: skipped, $tool is missing"
    exit 77
  }
done

prepare_run
sway_pid=""
seat_pid=""
cleanup_wayland() {
  [ -n "$seat_pid" ] && kill "$seat_pid" 2>/dev/null || true
  [ -n "$sway_pid" ] && kill "$sway_pid" 2>/dev/null || true
  cleanup_run
}
trap cleanup_wayland EXIT
unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER
cp -r "$game_dir"/. "$work/game"
rm -f "$work/game/znscore.hof" "$work"/game/zintrel-*.png
runtime=$work/runtime
mkdir -p "$runtime" "$work/home" "$work/config"
printf '%s\n' "output HEADLESS-1 resolution 1280x960 scale 2" "xwayland disable" \
  "default_border none" "default_floating_border none" >"$work/sway.conf"
# The compositor, the game and the tools that speak to them run as one user: as root, a system
# user of the checks' own, which owns the work folder.
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  user=zintrel-e2e
  id -u "$user" >/dev/null 2>&1 ||
    useradd --system --no-create-home --shell /usr/sbin/nologin "$user"
  chown -R "$user" "$work"
  chmod 755 "$work"
  as_user=(setpriv --reuid="$user" --regid="$user" --init-groups)
fi
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime

(exec env WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
  HOME="$work/home" "${as_user[@]}" sway -c "$work/sway.conf" >"$work/sway.txt" 2>&1) &
sway_pid=$!
for _ in $(seq 80); do
  socket=$(find "$runtime" -maxdepth 1 -name 'wayland-*' ! -name '*.lock' -printf '%f\n')
  SWAYSOCK=$(find "$runtime" -maxdepth 1 -name 'sway-ipc.*.sock' -print)
  [ -n "$socket" ] && [ -n "$SWAYSOCK" ] && break
  sleep 0.1
done
[ -n "$socket" ] && [ -n "$SWAYSOCK" ] || fail "sway did not start: $(cat "$work/sway.txt")"
export WAYLAND_DISPLAY=$socket SWAYSOCK

tell_sway() { "${as_user[@]}" swaymsg "$@"; }
("${as_user[@]}" "$virtual_seat") &
seat_pid=$!
has_seat() { [ "$(tell_sway -t get_seats | jq '.[0].capabilities')" = 3 ]; }
for _ in $(seq 80); do
  has_seat && break
  sleep 0.1
done
has_seat || fail "the seat has no pointer and keyboard"

# Uncompressed: a busy machine takes long to compress a screenful.
shot() { "${as_user[@]}" grim -l 0 "$work/$1.png"; }
key() { "${as_user[@]}" wtype "$@"; }
pointer() { tell_sway -- seat - cursor "$@" >/dev/null; }
said() { grep -q "$1" "$work/stderr.txt"; }
game() { tell_sway -t get_tree | jq -c '[.. | objects | select(.pid? and .app_id?)][0]'; }
fullscreen() { [ "$(game | jq .fullscreen_mode)" = "$1" ]; }
# Processor time of the program (the child of the time limit), in clock ticks.
ticks() {
  local program
  program=$(pgrep -P "$game_pid") || fail "the game has ended: $(cat "$work/stderr.txt")"
  awk '{ print $14 + $15 }' "/proc/$program/stat"
}
ticks_in_two_seconds() {
  local before
  before=$(ticks)
  sleep 2
  echo $(($(ticks) - before))
}

# In a sanitized build the leaks are left to the X11 checks: SDL 2.26's Wayland driver keeps a
# keyboard state and keymap for every keymap sway sends (one for every wtype), and the GL driver
# it loads leaks from a library already unloaded when the leaks are counted.
(cd "$work/game" && exec env SDL_AUDIODRIVER=dummy ZINTREL_NO_DIALOGS=1 ZINTREL_DEBUG=1 \
  HOME="$work/home" XDG_CONFIG_HOME="$work/config" \
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
  "${as_user[@]}" timeout -k 5 150 ./zintrel 2>"$work/stderr.txt") &
game_pid=$!
shows_soon title said " draws on " ||
  fail "nothing was drawn; the program said: $(cat "$work/stderr.txt")"
said "^zintrel: video driver wayland$" || fail "not on Wayland: $(cat "$work/stderr.txt")"
said "draws on 1280x960 pixels for a window of 640x480" ||
  fail "not drawn on the output's pixels: $(cat "$work/stderr.txt")"
wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
mapped() { [ "$(game)" != null ]; }
shows_soon title mapped || fail "sway has no window of the game's"
[ "$(game | jq -r .app_id)" = "$wm_class" ] || fail "the app id is not $wm_class: $(game)"
# Sway's pointer enters the window only once it moves, and a motion before that reaches no one.
pointer move 1 1

# The title picture fills the screen at twice its size: its upper part, where nothing moves,
# is the picture's.
convert "$game_dir/ZNTitle.jpg" -resize '640x480!' -crop 640x160+0+0 "$work/picture.png"
title_shows() {
  convert "$work/title.png" -sample 50% -crop 640x160+0+0 +repage "$work/top.png"
  { compare -metric RMSE "$work/top.png" "$work/picture.png" /dev/null 2>&1 || true; } |
    awk -F'[()]' '{ exit !($2 < 0.03) }'
}
shows_soon title title_shows || fail "the title picture is not shown"

# F12: the frame on show, at the game's own size (the GL renderer's colours may differ from the
# game's own expansion of its 16 bits by a level).
key -k F12
saved() { compgen -G "$work/game/zintrel-*.png" >/dev/null; }
shows_soon screen saved || fail "F12 saved no screenshot"
shots=("$work"/game/zintrel-*.png)
convert "$work/screen.png" -sample 50% "$work/shown.png"
differ=$(compare -metric AE -fuzz 1% "$work/shown.png" "${shots[0]}" /dev/null 2>&1 || true)
[ "$differ" = "0" ] || fail "the screenshot differs from the screen in $differ pixels"

# Space, then Enter on the first level set; every key a keyboard of its own that takes sway's
# focus away and gives it back at once, which must not pause the game.
screen_top=0
digits=$resources/BmpDigits.bmp
paddle=$resources/BmpPaddle.bmp
words=$resources/BmpZNText.bmp
key -k space
shows_soon packs not same title packs || fail "Space did not leave the title"
key -k Return
in_level() { [ "$(differing title level)" -gt 100000 ] && screen_shows "$work/level.png" "$@"; }
shows_soon level in_level "$digits" 240 0 24 24 587 4 || fail "Enter started no level"

# Sway moves its cursor and sends the motion it made, which stops at the output's edges: the
# paddle crosses the screen each way from where the cursor starts.
for end in right left right; do
  [ "$end" = left ] && dx=-2000 x=0 || dx=2000 x=576
  pointer move "$dx" 0
  shows_soon "$end" screen_shows "$work/$end.png" "$paddle" 0 0 64 42 "$x" 438 ||
    fail "the paddle is not at the $end end"
done

paused() { screen_shows "$work/$1.png" "$words" 0 40 336 40 152 220; }
key -k p
shows_soon paused paused paused || fail "no pause picture"
key -k p
shows_soon resumed not paused resumed || fail "still paused"

key -M alt -k Return -m alt
shows_soon windowed fullscreen 0 || fail "Alt+Enter gave no window: $(game)"
key -M alt -k Return -m alt
shows_soon full fullscreen 1 || fail "Alt+Enter did not go back to full screen: $(game)"

# Hidden, the game pauses as on any loss of the focus and draws nothing; shown again, it shows
# the pause and answers.
playing=$(ticks_in_two_seconds)
tell_sway '[app_id=zintrel] move scratchpad' >/dev/null
sleep 0.5
hidden=$(ticks_in_two_seconds)
[ $((2 * hidden)) -lt "$playing" ] ||
  fail "hidden, the game took $hidden ticks in two seconds; playing, $playing"
tell_sway '[app_id=zintrel] scratchpad show' >/dev/null
shows_soon back paused back || fail "shown again, the game is not paused"
key -k p
shows_soon going not paused going || fail "shown again, the game does not answer"

# A click, pressed and released at once, sends the ball up from the paddle: where it rode, the
# picture shows again.
ball=84x84+1174+820
[ "$(differing level going $ball)" -gt 1000 ] || fail "no ball on the paddle"
ball_gone() { [ "$(differing level launched $ball)" -lt 100 ]; }
pointer press button1
pointer release button1
shows_soon launched ball_gone || fail "the ball did not leave the paddle"

key -k Escape
sleep 1
kill -0 "$game_pid" 2>/dev/null || fail "the first Esc ended the game without the farewell"
key -k Escape
status=0
wait "$game_pid" || status=$?
game_pid=""
[ "$status" -eq 0 ] || fail "exit status $status: $(cat "$work/stderr.txt")"
# Sway took the hidden window out of full screen, and the game followed.
settings=$work/config/zintrel/zintrel.conf
grep -qx "fullscreen = no" "$settings" || fail "the game stayed full screen: $(cat "$settings")"
grep -q "^window_width = " "$settings" && ! grep -q "^window_x" "$settings" ||
  fail "the window's size without a place was not kept: $(cat "$settings")"
kill "$seat_pid" "$sway_pid"
seat_pid=""
sway_pid=""

# No compositor where WAYLAND_DISPLAY says: one line says so, and the game plays on X11.
start_xvfb
(cd "$work/game" && exec env WAYLAND_DISPLAY=wayland-none SDL_AUDIODRIVER=dummy \
  ZINTREL_NO_DIALOGS=1 ZINTREL_DEBUG=1 HOME="$work/home" XDG_CONFIG_HOME="$work/config" \
  timeout -k 5 150 ./zintrel 2>"$work/stderr.txt") &
game_pid=$!
window=$(game_window) || fail "no window on X11: $(cat "$work/stderr.txt")"
said "^zintrel: the Wayland compositor wayland-none cannot be reached; playing on x11$" ||
  fail "the fallback was not said: $(cat "$work/stderr.txt")"
said "^zintrel: video driver x11$" || fail "not on X11: $(cat "$work/stderr.txt")"
xdotool windowfocus --sync "$window" 2>/dev/null || true
leave_through_farewell
echo "wayland: passed"
