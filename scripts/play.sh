#!/usr/bin/env bash
# Sets up, builds and starts the game in build/game/.
set -euo pipefail
here=$PWD
cd "$(dirname "$0")/.."
scripts/setup.sh
game=$PWD/build/game/zintrel
# The game finds its files beside itself; a file named on the command line is the caller's.
cd "$here"
exec "$game" "$@"
