#!/usr/bin/env bash
# Installs the Debian packages the game needs (only the missing ones) and builds the game in
# build/: the program and the files it reads, in build/game/. With --tests it also installs what
# the tests, benchmarks and end-to-end checks need, and builds everything.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake g++ make pkg-config
  libsdl2-dev libsdl2-mixer-dev libsdl2-ttf-dev libfontconfig-dev fonts-liberation
  libjpeg-dev libpng-dev zlib1g-dev libcairo2-dev timgm6mb-soundfont libfluidsynth-dev
  libavcodec-dev libavformat-dev libswresample-dev libswscale-dev libavutil-dev
  libwayland-dev libdecor-0-0 libdecor-0-plugin-1-cairo
)
tests=OFF
if [ "${1:-}" = "--tests" ]; then
  tests=ON
  packages+=(
    libgtest-dev libgmock-dev libbenchmark-dev clang clang-format
    xvfb xdotool x11-utils imagemagick ffmpeg sway grim wtype jq libxkbcommon-dev
    desktop-file-utils appstream dpkg-dev file lintian
  )
fi

# One query for all: a second start of the game should not wait on the package database.
scripts/install-packages.sh "${packages[@]}"

jobs=$(nproc 2>/dev/null || echo 2)
# The build folder is configured once for the game alone; the tests switch it on for good.
if [ "$tests" = ON ] || [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DZINTREL_TESTS="$tests" \
    -DZINTREL_BENCH="$tests" >/dev/null
fi
if [ "$tests" = ON ]; then
  cmake --build build -j"$jobs"
else
  cmake --build build -j"$jobs" --target zintrel | grep -v "^\[\|^gmake\|Built target" || true
fi
