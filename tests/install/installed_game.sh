#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks the tree: the program, the shipped
# files, the desktop entry and the AppStream metadata (validated), the icons and the manual
# page. Then runs the installed program under Xvfb from other current folders, with HOME and
# XDG_DATA_HOME in a temporary folder:
#  - with a score file and a level file in the player's folder, it shows the same Hall of Fame
#    and selection screen as the build's game folder holding those two files, and not the ones
#    of an empty player's folder;
#  - with a file where the player's folder should be, it still plays, says once why scores will
#    not be kept and leaves the file as it was;
# and at the end the install tree is byte for byte what the install made.
set -euo pipefail
source "$(dirname "$0")/../e2e/xvfb.sh"
build=$1
game_dir=$2
app_id=$3
prepare_run

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
prefix="$work/root/usr"
shipped="$prefix/share/zintrel"

[ -x "$prefix/bin/zintrel" ] || fail "no program in bin/"
for name in ZNTitle.jpg GullCoast.znk Harbour.znl harbour01.jpg zntitle.mid; do
  [ -f "$shipped/$name" ] || fail "$name is not in share/zintrel/"
done
[ ! -e "$shipped/zintrel" ] && [ ! -e "$shipped/znscore.hof" ] || fail "share/zintrel/ holds more than the game's files"
desktop-file-validate "$prefix/share/applications/$app_id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml" >"$work/appstream.txt" \
  || { cat "$work/appstream.txt"; fail "the AppStream metadata does not validate"; }
for size in 16 22 24 32 48 64 128 256 512; do
  icon="$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
  [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] || fail "no ${size}x${size} icon"
done
grep -q "<svg" "$prefix/share/icons/hicolor/scalable/apps/$app_id.svg" || fail "no scalable icon"
zcat "$prefix/share/man/man6/zintrel.6.gz" | grep -q '^\.TH ZINTREL 6 ' || fail "no manual page in section 6"

snapshot() { (cd "$work/root" && find . -printf '%p %y %m %s\n' | sort && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
snapshot >"$work/tree-before"

start_xvfb
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy ZINTREL_NO_DIALOGS=1

# play NAME PROGRAM: starts PROGRAM from an empty folder of its own with HOME and XDG_DATA_HOME
# in the work folder, takes pictures of the Hall of Fame (NAME-hof.png) and of the selection
# screen (NAME-select.png), closes the window and checks that the program ended well and wrote
# nothing into its current folder. Its standard error goes to NAME.err.
play() {
  local name=$1 program=$2 status=0
  mkdir -p "$work/$name-here"
  (cd "$work/$name-here" && HOME="$work/home" XDG_DATA_HOME="$work/data" \
    exec timeout -k 5 90 "$program" 2>"$work/$name.err") &
  game_pid=$!
  window=$(game_window)
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool key h
  sleep 1
  import -window root "$work/$name-hof.png"
  xdotool key space
  sleep 1
  xdotool key space
  sleep 1
  import -window root "$work/$name-select.png"
  kill -TERM "$game_pid"
  wait "$game_pid" || status=$?
  game_pid=""
  [ "$status" -eq 0 ] || fail "$name: exit status $status"
  [ -z "$(ls -A "$work/$name-here")" ] || fail "$name: wrote into its current folder"
}
differ() { [ "$(compare -metric AE "$1" "$2" null: 2>&1 || true)" != "0" ]; }

mkdir -p "$work/data/zintrel"
play empty "$prefix/bin/zintrel"

printf '9900 Quentin Player\r\n9800 Rosalind\r\n' >"$work/data/zintrel/znscore.hof"
cp "$shipped/Harbour.znl" "$work/data/zintrel/Aaa.znl"
play installed "$prefix/bin/zintrel"

mkdir "$work/game"
cp -r "$game_dir"/. "$work/game"/
rm -f "$work/game/znscore.hof"
cp "$work/data/zintrel/znscore.hof" "$work/data/zintrel/Aaa.znl" "$work/game"/
play game "$work/game/zintrel"

differ "$work/installed-hof.png" "$work/empty-hof.png" || fail "the player's score file is not shown"
differ "$work/installed-select.png" "$work/empty-select.png" || fail "the player's level file is not listed"
differ "$work/installed-hof.png" "$work/game-hof.png" && fail "the Hall of Fame differs from the game folder's"
differ "$work/installed-select.png" "$work/game-select.png" && fail "the selection differs from the game folder's"

rm -r "$work/data/zintrel"
printf 'the player'"'"'s own notes' >"$work/data/zintrel"
play blocked "$prefix/bin/zintrel"
[ "$(cat "$work/data/zintrel")" = "the player's own notes" ] || fail "the file in the way was changed"
grep -c "Scores will not be kept" "$work/blocked.err" | grep -qx 1 || fail "the reason was not said once: $(cat "$work/blocked.err")"

snapshot >"$work/tree-after"
cmp -s "$work/tree-before" "$work/tree-after" || fail "the install tree changed"
echo "installed game: passed"
