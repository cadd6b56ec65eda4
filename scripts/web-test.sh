#!/usr/bin/env bash
# The web build's checks, after scripts/web.sh --build-only: every recorded game replayed in the
# page's program under Node, and the page driven in Debian's Chromium, headless, through the
# DevTools protocol (playwright-core from the npm registry; no browser is downloaded). The
# desktop's F12 is taken under Xvfb, so the end-to-end checks' packages are needed too.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(chromium xvfb xdotool imagemagick)
# Node from elsewhere than Debian brings npm along.
command -v npm >/dev/null || packages+=(nodejs npm)
scripts/install-packages.sh --no-recommends "${packages[@]}"

(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
node --test --test-concurrency=1 tests/web/
