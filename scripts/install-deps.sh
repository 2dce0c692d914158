#!/usr/bin/env bash
# Installs the Debian packages Undertow needs to build, test and play, when any is missing; with
# package names as arguments, those instead (scripts/install-windows-deps.sh names its own).
set -euo pipefail

packages=("$@")
[[ $# -gt 0 ]] || packages=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-mixer-dev
  libgl-dev libglu1-mesa-dev libegl-dev libgl1-mesa-dri libegl-mesa0
  mesa-vulkan-drivers
  libfreetype-dev libfontconfig-dev zlib1g-dev libmp3lame-dev libpng-dev
  fonts-liberation fonts-dejavu-core
  googletest libgtest-dev
  desktop-file-utils appstream
  ffmpeg libebur128-dev time
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
