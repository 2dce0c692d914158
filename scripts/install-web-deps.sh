#!/usr/bin/env bash
# Installs the Debian packages the web build, its package and its tests need, when missing.
set -euo pipefail

packages=(
  cmake make pkg-config xz-utils zip python3
  emscripten node-acorn
  chromium-headless-shell fonts-liberation
)

exec "$(dirname "$0")/install-deps.sh" "${packages[@]}"
