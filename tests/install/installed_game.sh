#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks the tree: the program, the shipped
# files, the desktop entry and the AppStream metadata (validated, its licence, and release notes
# that NEWS agrees with), the icons, the manual page, the licence and the copyright file, and
# the version every one of them shows. Then runs the installed program under Xvfb from other
# current folders, with HOME and XDG_DATA_HOME in a temporary folder:
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
version=$4
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
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
metainfo="$prefix/share/metainfo/$app_id.metainfo.xml"
# Pedantic, only the capitals of the reverse-DNS name are remarked on.
appstreamcli validate --pedantic --no-net "$metainfo" >"$work/appstream.txt" \
  || { cat "$work/appstream.txt"; fail "the AppStream metadata does not validate"; }
remarks=$(grep -E '^[EWIP]: ' "$work/appstream.txt" | grep -v ": cid-contains-uppercase-letter $app_id\$" || true)
[ -z "$remarks" ] || fail "the AppStream metadata draws remarks: $remarks"
grep -qF "<project_license>GPL-3.0-or-later</project_license>" "$metainfo" || fail "the metadata's licence is not the GPL"
grep -qF '<color type="primary" scheme_preference="light">' "$metainfo" &&
  grep -qF '<color type="primary" scheme_preference="dark">' "$metainfo" || fail "no branding colours for light and dark"
[ "$(grep -c '<release ' "$metainfo")" -ge 2 ] || fail "the metadata does not list the releases"
[ "$(grep -c '<release ' "$metainfo")" = "$(grep -c '<description>' "$metainfo" | awk '{print $1 - 1}')" ] ||
  fail "a release has no description"
grep -q "<release version=\"$version\" " "$metainfo" || fail "the metadata's newest release is not $version"
(cd "$work" && appstreamcli metainfo-to-news "$metainfo" NEWS)
diff -u "$source_dir/NEWS" "$work/NEWS" || fail "NEWS and the metadata's release notes differ"

cmp -s "$prefix/share/doc/zintrel/LICENSE" "$source_dir/LICENSE" || fail "the licence is not installed"
grep -q "Version 3, 29 June 2007" "$prefix/share/doc/zintrel/LICENSE" || fail "LICENSE is not the GPL version 3"
copyright="$prefix/share/doc/zintrel/copyright"
[ "$(head -n 1 "$copyright")" = "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ] ||
  fail "the copyright file is not machine-readable"
grep -qx "License: GPL-3+" "$copyright" && grep -qF '"/usr/share/common-licenses/GPL-3"' "$copyright" ||
  fail "the copyright file does not give the GPL-3+"
grep -qi "proprietary\|all rights reserved" "$copyright" "$metainfo" && fail "a proprietary licence is left"
for size in 16 22 24 32 48 64 128 256 512; do
  icon="$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
  [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] || fail "no ${size}x${size} icon"
done
grep -q "<svg" "$prefix/share/icons/hicolor/scalable/apps/$app_id.svg" || fail "no scalable icon"
zcat "$prefix/share/man/man6/zintrel.6.gz" | grep -q "^\\.TH ZINTREL 6 \"[-0-9]*\" \"Zintrel $version\" " ||
  fail "no manual page of version $version in section 6"
[ "$("$prefix/bin/zintrel" --version)" = "zintrel $version" ] || fail "the program is not version $version"
zcat "$prefix/share/doc/zintrel/changelog.gz" | head -n 1 | grep -qF "zintrel ($version)" ||
  fail "the changelog does not start with version $version"

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
  shot "$name-title"
  xdotool key h
  changed_shot "$name-title" "$name-hof"
  xdotool key space
  sleep 1
  xdotool key space
  changed_shot "$name-hof" "$name-select"
  kill -TERM "$game_pid"
  wait "$game_pid" || status=$?
  game_pid=""
  [ "$status" -eq 0 ] || fail "$name: exit status $status"
  [ -z "$(ls -A "$work/$name-here")" ] || fail "$name: wrote into its current folder"
}

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

not same installed-hof empty-hof || fail "the player's score file is not shown"
not same installed-select empty-select || fail "the player's level file is not listed"
same installed-hof game-hof || fail "the Hall of Fame differs from the game folder's"
same installed-select game-select || fail "the selection differs from the game folder's"

rm -r "$work/data/zintrel"
printf 'the player'"'"'s own notes' >"$work/data/zintrel"
play blocked "$prefix/bin/zintrel"
[ "$(cat "$work/data/zintrel")" = "the player's own notes" ] || fail "the file in the way was changed"
grep -c "Scores will not be kept" "$work/blocked.err" | grep -qx 1 || fail "the reason was not said once: $(cat "$work/blocked.err")"

snapshot >"$work/tree-after"
cmp -s "$work/tree-before" "$work/tree-after" || fail "the install tree changed"
echo "installed game: passed"
