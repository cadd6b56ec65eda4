#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite; builds the game for web browsers in build-web/
# (its libraries from the web cache, built there once) and runs its checks in Node and Chromium;
# then runs the suite again with the address and undefined behaviour sanitizers in
# build-sanitize/, and a bounded run of every fuzz target (clang's libFuzzer) in build-fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests
jobs=$(nproc 2>/dev/null || echo 2)

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ZINTREL_NO_DIALOGS=1
ctest --test-dir build --output-on-failure -j"$jobs"

scripts/web.sh --build-only
scripts/web-test.sh

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZINTREL_SANITIZE=ON \
  -DZINTREL_BENCH=OFF >/dev/null
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-sanitize --output-on-failure -j"$jobs"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZINTREL_FUZZ=ON \
  >/dev/null
cmake --build build-fuzz -j"$jobs"
ctest --test-dir build-fuzz --output-on-failure -j"$jobs"
echo "All tests passed."
