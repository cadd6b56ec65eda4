#!/usr/bin/env bash
# The program's --record and --replay options, headless: a recorded game of the bot replays
# with status 0, an altered one with status 1 and the frame where it parts, and what cannot be
# recorded or replayed gives status 2 and the reason.
set -euo pipefail
game_dir=$1
recordings=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
# The game folder the bot's pack games were recorded in: the title picture and the pack.
cp "$game_dir/zintrel" "$game_dir/ZNTitle.jpg" "$game_dir/GullCoast.znk" "$work"/
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ZINTREL_NO_DIALOGS=1 XDG_CONFIG_HOME=$work/config
cd "$work"

# Runs the program with the arguments; sets status and said (its standard error).
run() {
  status=0
  said=$(timeout 300 ./zintrel "$@" 2>&1 >/dev/null) || status=$?
}

run --replay "$recordings/pack-60.rec.gz"
[ "$status" -eq 0 ] || fail "the recorded game replayed with status $status: $said"
[[ "$said" == *"All 2401 frames of play matched the record."* ]] || fail "replay said: $said"
[ ! -e znscore.hof ] || fail "a replay wrote the Hall of Fame"

gzip -dc "$recordings/pack-60.rec.gz" | sed -E 's/^([0-9]+ frame 1000 score=)[0-9]+/\1999/' >altered.rec
run --replay altered.rec
[ "$status" -eq 1 ] || fail "an altered record replayed with status $status"
[[ "$said" == *"Frame 1000 (pass "*"differs from the record: score (recorded 999, replayed "* ]] ||
  fail "the altered record's replay said: $said"

run --replay missing.rec
[ "$status" -eq 2 ] && [[ "$said" == *"Cannot read the record missing.rec"* ]] ||
  fail "a missing record: status $status, $said"
run --record "$work/no/such/folder/game.rec"
[ "$status" -eq 2 ] && [[ "$said" == *"Cannot write the record"* ]] ||
  fail "an unwritable record: status $status, $said"
run --wrong
[ "$status" -eq 2 ] && [[ "$said" == *"Usage: zintrel [--record FILE | --replay FILE]"* ]] ||
  fail "an unknown option: status $status, $said"
echo "command line: passed"
