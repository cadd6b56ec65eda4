#!/usr/bin/env bash
# Builds the game for web browsers into build-web/site/: index.html with zintrel.js, zintrel.wasm,
# zintrel.data and the rest, a static folder that any web server can serve. It installs the
# Debian packages that are missing, builds the desktop game in build/ (its asset baker makes the
# art), the libraries once into the web cache (scripts/web-deps.sh), then the page; and serves
# the folder on http://localhost:8080 until stopped. With --build-only it stops after the build.
set -euo pipefail
cd "$(dirname "$0")/.."

# fluidsynth and vorbis-tools render the tunes; dpkg-dev unpacks the libraries' sources.
packages=(emscripten python3 fluidsynth vorbis-tools dpkg-dev fonts-liberation timgm6mb-soundfont)
# Without the recommended packages: FluidSynth's would bring a second, far larger soundfont.
scripts/install-packages.sh --no-recommends "${packages[@]}"

scripts/setup.sh
prefixes=$(scripts/web-deps.sh | tail -1)

# Node from elsewhere than Debian looks for Emscripten's JavaScript packages where Debian keeps
# them only when told.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
jobs=$(nproc 2>/dev/null || echo 2)
# Configured each time: the libraries' folders change with their versions.
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DZINTREL_TESTS=OFF \
  -DZINTREL_BENCH=OFF -DCMAKE_INSTALL_PREFIX=/zintrel -DZINTREL_HOST_BUILD="$PWD/build" \
  -DCMAKE_FIND_ROOT_PATH="$prefixes" -DCMAKE_PREFIX_PATH="$prefixes" \
  -DCMAKE_NO_SYSTEM_FROM_IMPORTED=ON >/dev/null
cmake --build build-web -j"$jobs" | grep -v "^\[\|^gmake\|Built target" || true
test -f build-web/site/zintrel.wasm

if [ "${1:-}" = "--build-only" ]; then
  exit 0
fi
echo "Zintrel is served on http://localhost:8080 (Ctrl+C stops it)"
exec python3 -m http.server 8080 --bind 127.0.0.1 --directory build-web/site
