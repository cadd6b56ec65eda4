#!/usr/bin/env bash
# The web build's checks, after scripts/web.sh --build-only: every recorded game replayed in the
# page's program under Node, and the page driven in Debian's Chromium, headless, through the
# DevTools protocol (playwright-core from the npm registry; no browser is downloaded). The
# desktop's F12 is taken under Xvfb, so the end-to-end checks' packages are needed too.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(chromium nodejs npm xvfb xdotool imagemagick)
missing=()
for package in "${packages[@]}"; do
  # Node from elsewhere than Debian brings npm along.
  if [ "$package" = npm ] && command -v npm >/dev/null; then
    continue
  fi
  dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null | grep -qx installed ||
    missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
  fi
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
fi

(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
node --test --test-concurrency=1 tests/web/
