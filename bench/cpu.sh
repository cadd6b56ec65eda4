#!/usr/bin/env bash
# Measures the processor time of the real program under Xvfb at 1024 by 768 with SDL's software
# renderer, full screen: the title screen, and with "all" also the Hall of Fame, scoring and
# about screens and a game in play driven by the mouse. Prints each as a share of one core: the
# whole program, the game's own thread (which draws and shows the frames) and the others (the
# sound's, which synthesises the music). ZINTREL_SETTINGS gives lines for the settings file
# the game starts with, as "music_volume = 0".
#   bench/cpu.sh GAME_DIR [SECONDS_PER_MEASURE] [all]
set -euo pipefail
source "$(dirname "$0")/../tests/e2e/xvfb.sh"
game_dir=$1
seconds=${2:-5}
scope=${3:-title}
prepare_run

cp -r "$game_dir"/. "$work"/
rm -f "$work/znscore.hof"
start_xvfb 1024x768
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy ZINTREL_NO_DIALOGS=1 SDL_RENDER_DRIVER=software
export XDG_CONFIG_HOME=$work/config
mkdir -p "$work/config/zintrel"
printf '%s\n' "${ZINTREL_SETTINGS:-}" >"$work/config/zintrel/zintrel.conf"
(cd "$work" && exec timeout -k 5 300 ./zintrel) &
game_pid=$!
window=$(game_window)
xdotool windowfocus --sync "$window" 2>/dev/null || true
program=$(pgrep -P "$game_pid" zintrel || echo "$game_pid")

# The processor time (user and system) in clock ticks of the whole program and of its main
# thread.
ticks() { awk '{ printf "%d ", $14 + $15 }' "/proc/$program/stat" "/proc/$program/task/$program/stat"; }
# The share of one core that a number of clock ticks is over the measuring time.
per_cent() {
  awk -v t="$1" -v hz="$(getconf CLK_TCK)" -v s="$seconds" 'BEGIN { printf "%.1f", 100 * t / hz / s }'
}
# Prints the shares of one core the program takes over the measuring time.
measure() {
  local name=$1 all0 main0 all1 main1
  sleep 1
  read -r all0 main0 <<<"$(ticks)"
  sleep "$seconds"
  read -r all1 main1 <<<"$(ticks)"
  echo "$name: $(per_cent $((all1 - all0)))% of a core; the game's own thread" \
    "$(per_cent $((main1 - main0)))%," \
    "the others $(per_cent $((all1 - all0 - main1 + main0)))%"
}

measure title
if [ "$scope" = all ]; then
  for screen in h s a; do
    xdotool key "$screen"
    case $screen in h) measure "Hall of Fame" ;; s) measure scoring ;; a) measure about ;; esac
    xdotool key space
    sleep 0.5
  done
  xdotool key space
  sleep 1
  xdotool key Return
  sleep 3
  xdotool click 1
  # The paddle sweeps to and fro while the measure runs.
  (for _ in $(seq $((seconds * 4 + 8))); do
    xdotool mousemove_relative -- 300 0
    sleep 0.12
    xdotool mousemove_relative -- -300 0
    sleep 0.12
    xdotool click 1
  done) &
  sweeper=$!
  measure play
  wait "$sweeper" || true
fi

xdotool key Escape
sleep 0.5
xdotool key Escape
wait "$game_pid" || true
game_pid=""
