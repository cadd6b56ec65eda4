#!/usr/bin/env bash
# Installs the Debian packages named that are not installed yet (with sudo when not root), in
# one query of the package database when none is missing. --no-recommends leaves out the
# packages they recommend.
set -euo pipefail
apt_options=()
if [ "${1:-}" = "--no-recommends" ]; then
  apt_options=(--no-install-recommends)
  shift
fi
installed=" $({ dpkg-query -W -f='${db:Status-Status}:${Package} ' "$@" 2>/dev/null || true; } |
  tr ' ' '\n' | sed -n 's/^installed://p' | tr '\n' ' ') "
missing=()
for package in "$@"; do
  [[ "$installed" == *" $package "* ]] || missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
  fi
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${apt_options[@]}" \
    "${missing[@]}"
fi
