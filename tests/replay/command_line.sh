#!/usr/bin/env bash
# The program's command line, headless: --help and --version answer on standard output; a
# mistaken command line, beside them too, is named in one line on standard error, with the
# usage, status 2; a failure at start ends the program with status 1. A recorded game of the bot
# replays with status 0, saying nothing but its outcome and leaving the window's settings
# unwritten, also in a folder without the level file and tunes it carries; an altered one with
# status 1 and the frame where it parts; and what cannot be recorded or replayed (a record cut
# short or of another format, a pack or picture that is not as recorded) gives status 2 and the
# reason.
set -euo pipefail
game_dir=$1
recordings=$2
version=$3
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

# Runs the program with the arguments; sets status, said (its standard error) and printed (its
# standard output).
run() {
  status=0
  timeout 300 ./zintrel "$@" >"$work/out.txt" 2>"$work/err.txt" || status=$?
  said=$(cat "$work/err.txt")
  printed=$(cat "$work/out.txt")
}
# The same in a folder of its own.
run_in() {
  cd "$1"
  shift
  run "$@"
  cd "$work"
}

for help in --help -h; do
  run $help
  [ "$status" -eq 0 ] && [ -z "$said" ] || fail "$help: status $status, said $said"
  [[ "$printed" == "Usage: zintrel [--record FILE | --replay FILE | --edit FILE]"* ]] || fail "$help printed: $printed"
  for part in --version --edit "man 6 zintrel" Space Esc; do
    [[ "$printed" == *"$part"* ]] || fail "$help does not tell of $part: $printed"
  done
done
usage=$printed

run --version
[ "$status" -eq 0 ] && [ -z "$said" ] && [ "$printed" = "zintrel $version" ] ||
  fail "--version: status $status, printed '$printed', said '$said'"

run --help --bogus
[ "$status" -eq 2 ] && [ -z "$printed" ] && [ "$said" = "zintrel: unknown option '--bogus'"$'\n'"$usage" ] ||
  fail "--help beside an unknown option: status $status, said $said"

run --reccord game.rec
[ "$status" -eq 2 ] && [ -z "$printed" ] || fail "an unknown option: status $status, printed $printed"
[ "$said" = "zintrel: unknown option '--reccord'"$'\n'"$usage" ] || fail "an unknown option said: $said"
run --record
[ "$status" -eq 2 ] && [ "$(head -n 1 "$work/err.txt")" = "zintrel: option '--record' needs a file name" ] ||
  fail "a missing file: status $status, $said"
run --record a.rec --replay b.rec
[ "$status" -eq 2 ] &&
  [ "$(head -n 1 "$work/err.txt")" = "zintrel: options '--record' and '--replay' exclude each other" ] ||
  fail "options that exclude each other: status $status, $said"
[ ! -e a.rec ] || fail "a mistaken command line started a record"

# A program without its title picture, in a folder of its own: the start-up fails, says why and
# ends with status 1.
mkdir alone
cp zintrel alone/
status=0
said=$(cd alone && HOME=$work/home XDG_DATA_HOME=$work/data timeout 300 ./zintrel 2>&1 >/dev/null) || status=$?
[ "$status" -eq 1 ] && [[ "$said" == *"Failure loading ZNTitle.jpg"* ]] ||
  fail "a failure at start: status $status, $said"

rm -rf config
run --replay "$recordings/pack-60.rec.gz"
[ "$status" -eq 0 ] || fail "the recorded game replayed with status $status: $said"
[ "$said" = "zintrel: All 2401 frames of play matched the record." ] || fail "replay said: $said"
[ ! -e znscore.hof ] || fail "a replay wrote the Hall of Fame"
[ ! -e config/zintrel/zintrel.conf ] || fail "a replay wrote the window's settings"

gzip -dc "$recordings/pack-60.rec.gz" | sed -E 's/^([0-9]+ frame 1000 .* score=)[0-9]+/\1999/' >altered.rec
run --replay altered.rec
[ "$status" -eq 1 ] || fail "an altered record replayed with status $status"
# Only the digest of frame 1000 was altered: the full dump of frame 1020 matches.
[[ "$said" == *"The replay parted from its record at frame 1000 (pass "*") on score (recorded 999, replayed "*"); at frame 1020: every value matches the record."* ]] ||
  fail "the altered record's replay said: $said"

# A game of the shipped level file, recorded in the whole game folder, replays beside the title
# picture and the level's pictures alone: the record carries the level file and the tunes.
mkdir bare
cp zintrel ZNTitle.jpg "$game_dir"/harbour*.jpg bare/
run_in bare --replay "$recordings/harbour-60.rec.gz"
[ "$status" -eq 0 ] && [[ "$said" == *"frames of play matched the record."* ]] ||
  fail "the shipped level file's game replayed with status $status: $said"
[ -z "$(ls bare | grep -iv '^zintrel$\|\.jpg$')" ] || fail "a replay left files behind: $(ls bare)"

# Another pack of the same name: the replay is refused before its first frame, naming the file.
mkdir other
cp zintrel ZNTitle.jpg other/
{ cat GullCoast.znk; printf 'more'; } >other/GullCoast.znk
run_in other --replay "$recordings/pack-60.rec.gz"
[ "$status" -eq 2 ] && [ "$(wc -l <"$work/err.txt")" -eq 1 ] &&
  [[ "$said" == *"GullCoast.znk is another level pack than the recorded game played"* ]] ||
  fail "another pack: status $status, $said"

# A picture the recorded game showed and the folder lacks: refused in the same way. A title
# picture that the record does not name and the folder lacks ends the replay with status 2 too,
# since 1 says that the game parted from its record.
rm other/ZNTitle.jpg
cp GullCoast.znk other/
run_in other --replay "$recordings/pack-60.rec.gz"
[ "$status" -eq 2 ] && [[ "$said" == *"showed the picture ZNTitle.jpg, which is not in the game's folders."* ]] ||
  fail "a missing picture: status $status, $said"
gzip -dc "$recordings/pack-60.rec.gz" | grep -v '^needs \|^pack ' >other/untold.rec
run_in other --replay untold.rec
[ "$status" -eq 2 ] && [[ "$said" == *"Failure loading ZNTitle.jpg"* ]] ||
  fail "a missing title picture: status $status, $said"

# A record cut in the middle of its last line replays as far as it goes, and says so.
gzip -dc "$recordings/pack-60.rec.gz" >whole.rec
head -c 200000 whole.rec >cut.rec
run --replay cut.rec
[ "$status" -eq 2 ] && [[ "$said" == *"The record is truncated at line "*", cut in the middle"* ]] ||
  fail "a truncated record: status $status, $said"

# A record of another format names both versions.
{ echo "zintrel record 1"; gzip -dc "$recordings/pack-60.rec.gz" | tail -n +2; } >old.rec
run --replay old.rec
[ "$status" -eq 2 ] && [[ "$said" == *"old.rec is a record of format version 1; this version of Zintrel replays records of format version 2."* ]] ||
  fail "a record of another format: status $status, $said"

run --replay missing.rec
[ "$status" -eq 2 ] && [[ "$said" == *"Cannot read the record missing.rec"* ]] ||
  fail "a missing record: status $status, $said"
run --record "$work/no/such/folder/game.rec"
[ "$status" -eq 2 ] && [[ "$said" == *"Cannot write the record"* ]] ||
  fail "an unwritable record: status $status, $said"
echo "command line: passed"
