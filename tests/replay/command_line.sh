#!/usr/bin/env bash
# The program's command line, headless, and the status each outcome ends with: 0 for an answer
# (--help, --version) or a replay that matched its record, saying nothing but its outcome and
# leaving the settings unwritten, also in a folder without the level file and tunes the record
# carries; 1 for a failure at start or a replay that parted from its record; 2 for a mistaken
# command line, also beside --help, or what cannot be recorded or replayed. A replay is made
# into a video, and what cannot be is named.
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

# Runs the program with the arguments; sets status, said (its standard error) and printed.
run() {
  status=0
  timeout 300 ./zintrel "$@" >"$work/out.txt" 2>"$work/err.txt" || status=$?
  said=$(cat "$work/err.txt")
  printed=$(cat "$work/out.txt")
}
# expect STATUS TEXT ARGUMENTS...: the program ends with the status and says the text (a
# pattern) on standard error.
expect() {
  local want=$1 text=$2
  shift 2
  run "$@"
  [ "$status" -eq "$want" ] && [[ "$said" == $text ]] || fail "$*: status $status, said $said"
}

for help in --help -h; do
  run $help
  [ "$status" -eq 0 ] && [ -z "$said" ] && [[ "$printed" == "Usage: zintrel "*"man 6 zintrel"* ]] ||
    fail "$help: status $status, printed $printed, said $said"
done
usage=$printed
run --version
[ "$status" -eq 0 ] && [ -z "$said" ] && [ "$printed" = "zintrel $version" ] ||
  fail "--version: status $status, printed '$printed', said '$said'"

run --help --bogus
[ "$status" -eq 2 ] && [ -z "$printed" ] && [ "$said" = "zintrel: unknown option '--bogus'"$'\n'"$usage" ] ||
  fail "--help beside an unknown option: status $status, said $said"

run --reccord game.rec
[ "$status" -eq 2 ] && [ -z "$printed" ] && [ "$said" = "zintrel: unknown option '--reccord'"$'\n'"$usage" ] ||
  fail "an unknown option: status $status, printed $printed, said $said"
expect 2 "zintrel: option '--record' needs a file name*" --record
expect 2 "zintrel: options '--record' and '--replay' exclude each other*" --record a.rec --replay b.rec
[ ! -e a.rec ] || fail "a mistaken command line started a record"

# A program without its title picture, in a folder of its own, fails at start.
mkdir alone
cp zintrel alone/
status=0
said=$(cd alone && HOME=$work/home XDG_DATA_HOME=$work/data timeout 300 ./zintrel 2>&1 >/dev/null) || status=$?
[ "$status" -eq 1 ] && [[ "$said" == *"Failure loading ZNTitle.jpg"* ]] || fail "a failure at start: status $status, $said"

rm -rf config
expect 0 "zintrel: All 2401 frames of play matched the record." --replay "$recordings/pack-60.rec.gz"
[ ! -e znscore.hof ] || fail "a replay wrote the Hall of Fame"
[ ! -e config/zintrel/zintrel.conf ] || fail "a replay wrote the settings"
# Only the digest of frame 1000 altered: the full dump of frame 1020 matches.
gzip -dc "$recordings/pack-60.rec.gz" | sed -E 's/^([0-9]+ frame 1000 .* score=)[0-9]+/\1999/' >altered.rec
expect 1 "*The replay parted from its record at frame 1000 (pass *) on score (recorded 999, replayed *); at frame 1020: every value matches the record.*" --replay altered.rec

# The shipped level file's game replays beside the title picture and the level's pictures alone.
mkdir bare
cp zintrel ZNTitle.jpg "$game_dir"/harbour*.jpg bare/
cd bare
expect 0 "*frames of play matched the record.*" --replay "$recordings/harbour-60.rec.gz"
[ -z "$(ls | grep -iv '^zintrel$\|\.jpg$')" ] || fail "a replay left files behind: $(ls)"

# Another pack of the same name, a pack or a picture the record showed and the folder lacks, and
# a title picture that the record does not name: refused before the first frame.
cd "$work"
mkdir other
cp zintrel ZNTitle.jpg other/
{ cat GullCoast.znk; printf 'more'; } >other/GullCoast.znk
cd other
expect 2 "*GullCoast.znk is another level pack than the recorded game played*" --replay "$recordings/pack-60.rec.gz"
[ "$(wc -l <"$work/err.txt")" -eq 1 ] || fail "a refusal in more than one line: $said"
rm GullCoast.znk
expect 2 "*played the level pack GullCoast.znk, which is not in the game's folders.*" --replay "$recordings/pack-60.rec.gz"
rm ZNTitle.jpg
cp ../GullCoast.znk .
expect 2 "*showed the picture ZNTitle.jpg, which is not in the game's folders.*" --replay "$recordings/pack-60.rec.gz"
gzip -dc "$recordings/pack-60.rec.gz" | grep -v '^needs \|^pack ' >untold.rec
expect 2 "*Failure loading ZNTitle.jpg*" --replay untold.rec

# A record cut in its last line, of another format, missing, or not to be written.
cd "$work"
head -c 200000 <(gzip -dc "$recordings/pack-60.rec.gz") >cut.rec
expect 2 "*The record is truncated at line *, cut in the middle*" --replay cut.rec
{ echo "zintrel record 1"; gzip -dc "$recordings/pack-60.rec.gz" | tail -n +2; } >old.rec
expect 2 "*old.rec is a record of format version 1; this version of Zintrel replays records of format versions 2 to 3.*" --replay old.rec
expect 2 "*Cannot read the record missing.rec*" --replay missing.rec
expect 2 "*Cannot write the record*" --record "$work/no/such/folder/game.rec"
# A replay made into a video: the default WebM of a short game decodes to the record's length,
# its progress in whole lines, and one line says that without a soundfont its music is silent.
SDL_SOUNDFONTS=$work/none.sf2 run --replay "$recordings/bombs-60.rec.gz" --video game.webm
[ "$status" -eq 0 ] && [ -f game.webm ] && [ ! -e game.webm.part ] ||
  fail "the video of a game: status $status, $said"
[ "$(grep -c "^No soundfont could be read at $work/none.sf2: the video's music is silent$" "$work/err.txt")" -eq 1 ] ||
  fail "a video without a soundfont said: $said"
[ "$(grep -c '^Video: [0-9]* of 861 frames' "$work/err.txt")" -ge 10 ] || fail "the video's progress: $said"
length=$(ffprobe -v error -show_entries format=duration -of csv=p=0 game.webm)
awk -v s="$length" 'BEGIN { exit !(s > 14.3 && s < 14.4) }' || fail "the video lasts $length s, not 14.35"
[ "$(ffprobe -v error -show_entries stream=codec_name,width -of csv=p=0 game.webm | tr '\n' ' ')" = "vp9,1280 opus " ] ||
  fail "the video's streams: $(ffprobe -v error -show_streams game.webm)"

# What cannot be made into a video is named in one line with status 2, before any work; a
# replay that parts leaves no video, with status 1.
touch file
for wrong in "file/game.webm:Cannot write the video file/game.webm: Not a directory" \
  "game.avi:Cannot make the video game.avi: its name must end in .webm, .mkv or .mp4" \
  "game.webm --video-scale 0:zintrel: option '--video-scale' takes 1, 2, 3 or 4, not '0'" \
  "game.webm --video-scale 5:zintrel: option '--video-scale' takes 1, 2, 3 or 4, not '5'"; do
  # shellcheck disable=SC2086
  run --replay altered.rec --video ${wrong%%:*}
  [ "$status" -eq 2 ] && [[ "$(head -n 1 "$work/err.txt")" == *"${wrong#*:}" ]] &&
    ! grep -q '^Video:' "$work/err.txt" || fail "--video ${wrong%%:*}: status $status, $said"
done
gzip -dc "$recordings/bombs-60.rec.gz" | sed -E 's/^([0-9]+ frame 60 .* score=)[0-9]+/\1999/' >altered.rec
run --replay altered.rec --video altered.webm
[ "$status" -eq 1 ] && [[ "$said" == *"The replay parted from its record at frame 60 "* ]] ||
  fail "the video of an altered record: status $status, $said"
[ ! -e altered.webm ] && [ ! -e altered.webm.part ] || fail "an altered record left a video"

# A termination request halfway leaves no file under the video's name, nor the unfinished one.
./zintrel --replay "$recordings/bombs-60.rec.gz" --video stopped.webm 2>"$work/err.txt" &
video=$!
for _ in $(seq 1200); do
  grep -q ' 50%' "$work/err.txt" && break
  sleep 0.1
done
[ -e stopped.webm.part ] || fail "no unfinished video halfway: $(cat "$work/err.txt")"
kill -TERM "$video"
status=0
wait "$video" || status=$?
[ "$status" -eq 143 ] && [ ! -e stopped.webm ] && [ ! -e stopped.webm.part ] ||
  fail "a video stopped halfway: status $status, $(ls)"
echo "command line: passed"
