#!/usr/bin/env bash
# Installs the Debian packages the Windows build, its package and its tests need, when missing.
set -euo pipefail

packages=(
  cmake make pkg-config xz-utils bzip2 zip
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-x86-64-dev libz-mingw-w64-dev
  nsis wine wine64 xvfb xauth fonts-liberation
)

exec "$(dirname "$0")/install-deps.sh" "${packages[@]}"
