# Shared by the end-to-end scripts (sourced): a private Xvfb screen and the game's window on it.

# Makes a fresh work folder, and on exit stops the game and Xvfb and removes the folder; sets
# work, and clears xvfb_pid and game_pid.
prepare_run() {
  work=$(mktemp -d)
  xvfb_pid=""
  game_pid=""
  trap cleanup_run EXIT
}

cleanup_run() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}

# Copies a game folder (without its score file) into the work folder and starts the program
# there, with any further arguments, under a fresh Xvfb, without sound and with a settings
# folder of its own; sets game_pid.
start_game_copy() {
  cp -r "$1"/. "$work"/
  shift
  rm -f "$work/znscore.hof"
  start_xvfb
  unset SDL_VIDEODRIVER
  export SDL_AUDIODRIVER=dummy ZINTREL_NO_DIALOGS=1 XDG_CONFIG_HOME=$work/config
  (cd "$work" && exec timeout -k 5 150 ./zintrel "$@") &
  game_pid=$!
}

# Esc, then Esc on the farewell screen: the program must still run after the first and end
# with status 0 after the second.
leave_through_farewell() {
  xdotool key Escape
  sleep 1
  kill -0 "$game_pid" 2>/dev/null || fail "the first Esc ended the game without the farewell"
  xdotool key Escape
  local status=0
  wait "$game_pid" || status=$?
  game_pid=""
  [ "$status" -eq 0 ] || fail "exit status $status"
}

# Whether a process has ended: it is gone, or a zombie. The kernel may take seconds on a loaded
# machine to take down the last threads of a program that has ended, and its parent to reap it.
has_ended() {
  local state
  state=$(ps -o stat= -p "$1" || true)
  [[ -z "$state" || "$state" == Z* ]]
}

# Sends a termination request to the program alone, as a launcher or the session's end sends it
# (not to its process group), and fails unless it ends within the given tenths of a second;
# then sets status to its exit status.
request_termination() {
  local program_pid
  program_pid=$(pgrep -P "$game_pid" -x zintrel)
  kill -TERM "$program_pid"
  for _ in $(seq "$1"); do
    has_ended "$program_pid" && break
    sleep 0.1
  done
  has_ended "$program_pid" ||
    fail "a termination request did not end the program within $1 tenths of a second"
  status=0
  wait "$game_pid" || status=$?
  game_pid=""
}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Saves a screenshot of the whole screen as $work/NAME.png.
shot() { import -window root "$work/$1.png"; }

# How many pixels of two screenshots differ, in the whole screen or in a region (WxH+X+Y).
differing() {
  local region=()
  [ $# -gt 2 ] && region=(-extract "$3")
  compare -metric AE "${region[@]}" "$work/$1.png" "$work/$2.png" /dev/null 2>&1 |
    awk '{ printf "%d\n", $1 }' || true
}

# Takes screenshots as $work/NAME.png until the command that follows succeeds, for at most about
# eight seconds: a busy machine may take a while to show what a key or a click asked for.
shows_soon() {
  local name=$1
  shift
  for _ in $(seq 32); do
    shot "$name"
    "$@" && return 0
    sleep 0.25
  done
  return 1
}

# Saves a screenshot as $work/NAME.png once the screen differs from $work/BEFORE.png and has
# stopped changing (two shots a quarter second apart alike), for at most about eight seconds each.
changed_shot() {
  local before=$1 name=$2
  shows_soon "$name" not same "$before" "$name" || true
  for _ in $(seq 32); do
    sleep 0.25
    mv "$work/$name.png" "$work/$name-previous.png"
    shot "$name"
    same "$name-previous" "$name" && break
  done
  rm -f "$work/$name-previous.png"
}
same() { [ "$(differing "$1" "$2")" = 0 ]; }

# Succeeds when the command that follows fails.
not() { ! "$@"; }

# Waits, for at most about eight seconds, until the file holds the line.
file_says() {
  for _ in $(seq 32); do
    grep -qx "$2" "$1" 2>/dev/null && return 0
    sleep 0.25
  done
  return 1
}

# The colour of a pixel of the game's 640 by 480 screen in the screenshot $work/NAME.png of the
# 1280 by 1024 screen, full screen, as "red,green,blue" from 0 to 255.
pixel() {
  convert "$work/$1.png" -crop "1x1+$((2 * $2))+$((2 * $3 + 32 + 1))" \
    -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' info:
}

# Starts Xvfb on a free display of the given size (1280x1024 when not given) and exports
# DISPLAY; sets xvfb_pid. Xvfb picks the display number itself and writes it once it takes
# connections, so that scripts running side by side never share a server.
start_xvfb() {
  local size=${1:-1280x1024} number_file number=""
  number_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 300); do
    number=$(head -n 1 "$number_file")
    [ -n "$number" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$number_file"
  [ -n "$number" ] || fail "Xvfb did not start"
  export DISPLAY=":$number"
}

# Prints the id of the game's window once it has settled: shown, and at the same place and size
# for half a second (a busy machine may take a while to start the program and its music). SDL
# may replace its first window on the way to full screen, so the last one of the name counts.
game_window() {
  local window="" geometry="" previous=""
  for _ in $(seq 600); do
    window=$(xdotool search --onlyvisible --name "^Welcome to Zintrel$" 2>/dev/null | tail -n 1 ||
      true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || fail "no window captioned 'Welcome to Zintrel'"
  for _ in $(seq 40); do
    sleep 0.5
    window=$(xdotool search --onlyvisible --name "^Welcome to Zintrel$" 2>/dev/null | tail -n 1 ||
      true)
    geometry=$(xdotool getwindowgeometry "$window" 2>/dev/null || true)
    [ -n "$geometry" ] && [ "$geometry" = "$previous" ] && break
    previous=$geometry
  done
  echo "$window"
}

# Succeeds when a screenshot of the 1280 by 1024 screen shows, at the game's position (x, y),
# the frame of a sprite sheet (its top-left corner and size on the sheet) on every one of the
# frame's opaque pixels. The game's 640 by 480 screen fills it at twice its size, 32 rows down
# (screen_top rows down where a script sets it for a screen of another size).
screen_shows() {
  local shot=$1 sheet=$2 fx=$3 fy=$4 w=$5 h=$6 x=$7 y=$8 top=${screen_top:-32} dir
  dir=$(mktemp -d)
  convert "$sheet" -crop "${w}x${h}+${fx}+${fy}" +repage "$dir/frame.png"
  convert "$shot" -crop "$((2 * w))x$((2 * h))+$((2 * x))+$((2 * y + top))" +repage \
    -sample 50% "$dir/shown.png"
  local key
  key=$(convert "$sheet" -format '%[fx:p{0,0}.r],%[fx:p{0,0}.g],%[fx:p{0,0}.b]' info:)
  IFS=, read -r kr kg kb <<<"$key"
  convert "$dir/frame.png" -alpha off \
    -fx "abs(r-$kr)+abs(g-$kg)+abs(b-$kb) < 0.02 ? 0 : 1" "$dir/mask.png"
  local worst
  worst=$(convert "$dir/shown.png" "$dir/frame.png" -compose difference -composite \
    "$dir/mask.png" -compose multiply -composite -format '%[fx:maxima]' info:)
  rm -rf "$dir"
  # The screen holds the frame's colours in 16 bits: a few levels of each channel differ.
  awk -v worst="$worst" 'BEGIN { exit !(worst < 0.05) }'
}
