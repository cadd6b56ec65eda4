#!/usr/bin/env bash
# Records the test bot's games under tests/replay/recordings anew. Run it after a deliberate
# change of the game's behaviour has made the recorded games replay differently, then see that
# each still plays what its comment in tests/support/recorded_games.cpp says.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build --target replay_tests
folder="$PWD/tests/replay/recordings"
rm -f "$folder"/*.rec "$folder"/*.rec.gz
cd build/tests/replay/replay_tests.run
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ZINTREL_NO_DIALOGS=1
ZINTREL_MAKE_RECORDINGS=1 ../replay_tests --gtest_filter='*MakeRecording*'
gzip -9 -n "$folder"/*.rec
../replay_tests --gtest_filter='*ReplaysFrameForFrame*'
