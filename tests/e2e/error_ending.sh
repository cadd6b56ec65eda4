#!/usr/bin/env bash
# The real program under Xvfb, with a damaged level pack as its only level set, chosen with
# Space on the title:
#  - with messages on standard error only, it names the damage and ends by itself with status 1;
#  - with the message shown in a dialog, a termination request while the dialog is up ends the
#    program within a second, with status 1, and takes the dialog with it.
set -euo pipefail
source "$(dirname "$0")/xvfb.sh"
game_dir=$1
prepare_run
cp -r "$game_dir"/. "$work"/
rm -f "$work"/*.zn? "$work/znscore.hof"
printf 'not a level pack at all' >"$work/Damaged.znk"
message="Level pack Damaged.znk corrupted. Aborting."
start_xvfb
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME=$work/config

# The windows captioned "Zintrel", the program's dialogs, by their ids. (The dialog's name is
# set as UTF-8, which xdotool's search does not read.)
dialogs() {
  xwininfo -root -tree 2>/dev/null | sed -n 's/^ *\(0x[0-9a-f]*\) "Zintrel":.*/\1/p'
}

# Starts the program and waits for its title; sets game_pid. Its standard error goes to
# NAME.err.
start() {
  (cd "$work" && exec timeout -k 5 150 ./zintrel 2>"$work/$1.err") &
  game_pid=$!
  window=$(game_window)
  xdotool windowfocus --sync "$window" 2>/dev/null || true
}

# Presses Space on the title, again every second while a busy machine has not yet taken it,
# until the command succeeds; fails after a minute.
press_space_until() {
  for _ in $(seq 60); do
    xdotool key space
    for _ in $(seq 10); do
      "$@" && return 0
      sleep 0.1
    done
  done
  fail "Space on the title did not lead to the damaged pack's error"
}
program_ended() { has_ended "$game_pid"; }
dialog_shown() { dialog=$(dialogs | head -n 1); [ -n "$dialog" ]; }

ZINTREL_NO_DIALOGS=1 start quiet
press_space_until program_ended
status=0
wait "$game_pid" || status=$?
game_pid=""
[ "$status" -eq 1 ] || fail "without dialogs: exit status $status, not 1"
grep -qxF "Zintrel: $message" "$work/quiet.err" || fail "without dialogs it said: $(cat "$work/quiet.err")"

unset ZINTREL_NO_DIALOGS
start dialog
press_space_until dialog_shown
grep -qxF "Zintrel: $message" "$work/dialog.err" || fail "with a dialog it said: $(cat "$work/dialog.err")"
sleep 1
kill -0 "$game_pid" 2>/dev/null || fail "the program ended while its dialog was shown"
request_termination 10
[ "$status" -eq 1 ] || fail "terminated while its dialog was shown: exit status $status, not 1"
sleep 0.5
[ -z "$(dialogs)" ] || fail "the dialog outlived the program"
echo "error ending: passed"
