#!/usr/bin/env bash
# Installs what is missing, builds, generates the assets and plays the demo. Without a display
# it records the demo to a video instead. Extra arguments go to the program (see --help).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh build

if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
  exec build/undertow --data build/assets "$@"
fi

out=${UNDERTOW_CAPTURE_DIR:-out/capture}
echo "No display: recording the demo at 30 frames a second into $out (this takes several minutes)."
build/undertow --data build/assets --capture "$out" --fps 30 "$@"
if [[ -f "$out/undertow.mp4" ]]; then
  rm -f "$out"/frame_*.png   # the video holds them all; the frames would take about 4 GB
  echo "The video is $out/undertow.mp4"
else
  echo "No video was made; the frames are in $out"
fi
