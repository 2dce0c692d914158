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

video=${UNDERTOW_CAPTURE_FILE:-out/undertow.mp4}
echo "No display: recording the whole demo at 60 frames a second into $video."
if build/undertow --data build/assets --capture "$video" --fps 60 "$@"; then
  echo "The video is $video"
else
  echo "No video was made." >&2
  exit 1
fi
