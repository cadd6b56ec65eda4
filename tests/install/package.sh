#!/usr/bin/env bash
# Builds the Debian package with CPack in a temporary folder and checks it: its version, the
# program (in /usr/games, as Debian keeps games), the shipped files and the desktop files in it,
# the copyright file without a second copy of the licence, its dependencies found from the
# linked libraries plus the soundfont and the fonts, and lintian without errors or warnings.
# Skipped (77) without the tools.
set -euo pipefail
build=$1
app_id=$2
version=$3
for tool in dpkg-deb dpkg-shlibdeps file lintian; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.txt" \
  || { cat "$work/cpack.txt"; fail "cpack failed"; }
deb=$(find "$work" -maxdepth 1 -name '*.deb')
[ -n "$deb" ] || fail "no package was made"

dpkg-deb -c "$deb" >"$work/contents.txt"
for path in ./usr/games/zintrel ./usr/share/zintrel/ZNTitle.jpg ./usr/share/zintrel/GullCoast.znk \
  "./usr/share/applications/$app_id.desktop" "./usr/share/metainfo/$app_id.metainfo.xml" \
  "./usr/share/icons/hicolor/scalable/apps/$app_id.svg" ./usr/share/man/man6/zintrel.6.gz; do
  grep -q " $path\$" "$work/contents.txt" || fail "the package lacks $path"
done
grep -q " ./usr/bin/" "$work/contents.txt" && fail "the package has a /usr/bin/"
grep -q " ./usr/share/doc/zintrel/copyright\$" "$work/contents.txt" || fail "the package lacks its copyright file"
grep -q "LICENSE" "$work/contents.txt" && fail "the package carries the licence's text beside its copyright file"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
depends=$(dpkg-deb -f "$deb" Depends)
for package in libsdl2-2.0-0 libsdl2-mixer-2.0-0 libsdl2-ttf-2.0-0 libjpeg62-turbo libpng16-16 \
  libfontconfig1 timgm6mb-soundfont fonts-liberation; do
  [[ ", $depends," == *", $package "* || ", $depends," == *", $package,"* ||
    ", $depends," == *"| $package"* || ", $depends," == *", $package |"* ]] ||
    fail "the package does not depend on $package: $depends"
done
status=0
lintian --fail-on error,warning "$deb" >"$work/lintian.txt" 2>&1 || status=$?
grep -v "running with root privileges" "$work/lintian.txt" || true
[ "$status" -eq 0 ] || fail "lintian found errors or warnings"
echo "package: passed ($(basename "$deb"))"
