#!/usr/bin/env bash
# The desktop build's F12 on the title screen, for the page's to be compared with: starts the
# program under Xvfb in a copy of its game folder and copies the screenshot F12 saves to OUT.
# Usage: desktop_title.sh GAME_FOLDER OUT.png
set -euo pipefail
source "$(dirname "$0")/../e2e/xvfb.sh"
out=$2
prepare_run
start_game_copy "$1"
game_window >/dev/null || fail "the desktop game did not show its window"
# The title has settled once two screenshots half a second apart are alike.
shot before
for _ in $(seq 16); do
  sleep 0.5
  shot after
  same before after && break
  mv "$work/after.png" "$work/before.png"
done
xdotool key F12
saved() { compgen -G "$work/zintrel-*.png" >/dev/null; }
shows_soon screen saved || fail "F12 saved no screenshot"
cp "$work"/zintrel-*.png "$out"
leave_through_farewell
